# The installed package as a program meets it: install the Development component of a finished
# build into an empty prefix, build the example consumer from a copy (nothing points into the
# source tree) against that prefix only, and run it offscreen with its self-check.
#   cmake -DBUILD_DIR=... -DEXAMPLE_DIR=... -DWORK_DIR=... [-DEXTRA_FLAGS=...] -P PackageRoundTrip.cmake
cmake_minimum_required(VERSION 3.25)
foreach(var BUILD_DIR EXAMPLE_DIR WORK_DIR)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} is not set")
    endif()
endforeach()

function(run what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${what} failed (${result}):\n${out}")
    endif()
    message(STATUS "${what}: done")
    set(last_output "${out}" PARENT_SCOPE)
endfunction()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

run("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} --component Development)

# What a program may include is there; the internals are not.
foreach(header host/qt/TarvexButtonWidget.hpp button/TarvexButton.hpp gdi/gdi.hpp)
    if(NOT EXISTS ${prefix}/include/tarvex/${header})
        message(FATAL_ERROR "public header ${header} was not installed")
    endif()
endforeach()
file(GLOB_RECURSE installed_headers RELATIVE ${prefix}/include/tarvex ${prefix}/include/tarvex/*)
foreach(private gdi/internal.hpp gdi/font_impl.hpp host/qt/WidgetSupport.hpp
                button/render/LookSupport.hpp)
    if(private IN_LIST installed_headers)
        message(FATAL_ERROR "private header ${private} was installed")
    endif()
endforeach()
file(GLOB pc_files ${prefix}/lib*/pkgconfig/tarvex-button.pc ${prefix}/lib/*/pkgconfig/tarvex-button.pc)
if(NOT pc_files)
    message(FATAL_ERROR "no pkg-config file was installed")
endif()

file(COPY ${EXAMPLE_DIR}/ DESTINATION ${WORK_DIR}/source)
set(configure ${CMAKE_COMMAND} -S ${WORK_DIR}/source -B ${WORK_DIR}/build -G Ninja
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH=${prefix} "-DCMAKE_CXX_FLAGS=${EXTRA_FLAGS}")
find_program(ccache_program ccache)
if(ccache_program)
    list(APPEND configure -DCMAKE_CXX_COMPILER_LAUNCHER=${ccache_program})
endif()
run("configure the consumer" ${configure})
run("build the consumer" ${CMAKE_COMMAND} --build ${WORK_DIR}/build)
run("run the consumer" ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
    ${WORK_DIR}/build/tarvex-consumer --check)
message(STATUS "${last_output}")
