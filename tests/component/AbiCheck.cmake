# Records or checks the ABI of the public library.
#   cmake -DMODE=record|check -DABIDW=... -DABIDIFF=... -DLIBRARY=... -DRECORDED=...
#         -DSUPPRESSIONS=... -DWORK_DIR=... -P AbiCheck.cmake
# The representation holds the exported interfaces and the types they reach, leaves out what
# depends on where the build ran (source locations, the build folder), and names types by hashes
# of themselves; the suppressions leave the widget's private implementation out of the
# comparison. How the translation units are laid out still follows the build (ccache hands the
# compiler other paths than a plain build), so the comparison is abidiff's, of meaning, and
# recording rewrites the file only when abidiff finds the ABI changed: a rebuild of the same
# source leaves the recorded file as it is. abidiff's exit status is a bit set: 1 error, 2 usage,
# 4 change, 8 incompatible change.
cmake_minimum_required(VERSION 3.25)
file(MAKE_DIRECTORY ${WORK_DIR})

function(write_abi out)
    execute_process(COMMAND ${ABIDW} --no-corpus-path --no-comp-dir-path --no-show-locs
                            --drop-undefined-syms --type-id-style hash --exported-interfaces-only
                            --out-file ${out} ${LIBRARY}
                    RESULT_VARIABLE result ERROR_VARIABLE err)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "abidw failed (${result}): ${err}")
    endif()
endfunction()

function(soname_major file out)
    file(STRINGS ${file} corpus REGEX "soname=" LIMIT_COUNT 1)
    string(REGEX MATCH "soname='[^']*\\.so\\.([0-9]+)'" _ "${corpus}")
    set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

function(compare recorded fresh status_var report_var)
    execute_process(COMMAND ${ABIDIFF} --no-show-locs --suppressions ${SUPPRESSIONS}
                            ${recorded} ${fresh}
                    RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE report)
    if(NOT status MATCHES "^[0-9]+$")
        message(FATAL_ERROR "abidiff did not run: ${status}\n${report}")
    endif()
    math(EXPR failed "${status} & 3")
    if(failed)
        message(FATAL_ERROR "abidiff failed (${status}):\n${report}")
    endif()
    set(${status_var} ${status} PARENT_SCOPE)
    set(${report_var} "${report}" PARENT_SCOPE)
endfunction()

set(fresh ${WORK_DIR}/TarvexButtonWidgets.abi)
write_abi(${fresh})

if(MODE STREQUAL "record")
    set(status 4)
    if(EXISTS ${RECORDED})
        compare(${RECORDED} ${fresh} status report)
    endif()
    if(status EQUAL 0)
        message(STATUS "${RECORDED} already holds this ABI")
    else()
        file(COPY_FILE ${fresh} ${RECORDED})
        message(STATUS "recorded ${RECORDED}")
    endif()
    return()
endif()

if(NOT EXISTS ${RECORDED})
    message(FATAL_ERROR "no recorded ABI at ${RECORDED}: build the target tarvex-abi-update")
endif()
compare(${RECORDED} ${fresh} status report)
math(EXPR changed "${status} & 4")
math(EXPR incompatible "${status} & 8")
# abidiff counts a changed type behind an exported function as a change (4), not as incompatible
# (8): for a library whose users derive from its class and place it in their own objects, any
# change but an added function or variable breaks them.
string(REGEX MATCHALL "[0-9]+ (Removed|Changed)" removals "${report}")
foreach(count ${removals})
    if(NOT count MATCHES "^0 ")
        set(incompatible 1)
    endif()
endforeach()
if(report MATCHES "Removed (function|variable) symbols not referenced")
    set(incompatible 1)
endif()
soname_major(${RECORDED} recorded_major)
soname_major(${fresh} fresh_major)
if(incompatible)
    if(NOT recorded_major STREQUAL fresh_major)
        message(STATUS "an incompatible ABI with a new major number (${recorded_major} -> "
                       "${fresh_major}): record it with the target tarvex-abi-update\n${report}")
        return()
    endif()
    message(FATAL_ERROR "the ABI of ${LIBRARY} changed incompatibly, but its SONAME's major "
                        "number is still ${fresh_major}:\n${report}")
endif()
if(changed)
    message(STATUS "the ABI grew compatibly; record it with the target tarvex-abi-update:\n${report}")
else()
    message(STATUS "the ABI is the recorded one (SONAME major ${fresh_major})")
endif()
