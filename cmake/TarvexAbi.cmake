# The ABI of the public library, kept in the repository (host/qt/abi/TarvexButtonWidgets.abi,
# written by abidw from the library's debug information, the public headers deciding what counts)
# and compared with each build by the test component_abi (abidiff). An incompatible change fails
# the test unless the SONAME's major number changes with it; the target tarvex-abi-update records
# the ABI of the build (after a deliberate change). The exported dynamic symbols must all be
# declared in the installed headers (component_exported_symbols).
if(NOT VORNIK_BUILD_TESTS)
    return()
endif()
find_program(TARVEX_ABIDW abidw)
find_program(TARVEX_ABIDIFF abidiff)
find_program(TARVEX_NM NAMES nm)
find_package(Python3 QUIET COMPONENTS Interpreter)

set(tarvex_abi_file ${PROJECT_SOURCE_DIR}/host/qt/abi/TarvexButtonWidgets.abi)
set(tarvex_abi_script ${PROJECT_SOURCE_DIR}/tests/component/AbiCheck.cmake)

# The recorded types come from debug information, and the standard library's instantiations the
# library exports beside its own symbols follow the optimisation: the ABI is recorded from, and
# checked in, the build type that ships (RelWithDebInfo, the default preset), without sanitizers.
string(TOUPPER "${CMAKE_BUILD_TYPE}" tarvex_build_type)
if(TARVEX_ABIDW AND TARVEX_ABIDIFF AND NOT VORNIK_SANITIZE AND NOT VORNIK_FUZZ
   AND tarvex_build_type STREQUAL "RELWITHDEBINFO")
    set(tarvex_abi_args -DABIDW=${TARVEX_ABIDW} -DABIDIFF=${TARVEX_ABIDIFF}
        -DLIBRARY=$<TARGET_FILE:TarvexButtonWidgets> -DRECORDED=${tarvex_abi_file}
        -DSUPPRESSIONS=${PROJECT_SOURCE_DIR}/host/qt/abi/TarvexButtonWidgets.suppr
        -DWORK_DIR=${CMAKE_BINARY_DIR}/abi)
    add_test(NAME component_abi
        COMMAND ${CMAKE_COMMAND} ${tarvex_abi_args} -DMODE=check -P ${tarvex_abi_script})
    set_tests_properties(component_abi PROPERTIES LABELS "component_tests;abi" TIMEOUT 300)
    add_custom_target(tarvex-abi-update
        COMMAND ${CMAKE_COMMAND} ${tarvex_abi_args} -DMODE=record -P ${tarvex_abi_script}
        DEPENDS TarvexButtonWidgets
        COMMENT "Recording the ABI of libTarvexButtonWidgets in host/qt/abi"
        VERBATIM)
endif()

# Sanitizer builds export their instrumentation's own markers beside the library's symbols.
if(TARVEX_NM AND Python3_FOUND AND NOT VORNIK_SANITIZE)
    add_test(NAME component_exported_symbols
        COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/component/exported_symbols.py
                --nm ${TARVEX_NM} $<TARGET_FILE:TarvexButtonWidgets> ${TARVEX_WIDGETS_PUBLIC_HEADERS})
    set_tests_properties(component_exported_symbols PROPERTIES LABELS "component_tests;abi")
endif()
