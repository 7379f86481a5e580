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

# The public headers are there, and nothing else: the control's model, its drawing layer and the
# widget's private headers stay in the source tree. One library, no other.
file(GLOB_RECURSE installed_headers RELATIVE ${prefix}/include ${prefix}/include/*)
list(SORT installed_headers)
set(public_headers tarvex/TarvexButtonWidget.hpp tarvex/tarvexbuttonwidgets_export.h)
if(NOT installed_headers STREQUAL public_headers)
    message(FATAL_ERROR "installed headers: ${installed_headers}; expected: ${public_headers}")
endif()
file(GLOB_RECURSE libraries RELATIVE ${prefix} ${prefix}/lib*/libTarvex*)
list(TRANSFORM libraries REPLACE ".*/" "")
list(SORT libraries)
set(expected_libraries libTarvexButtonWidgets.so libTarvexButtonWidgets.so.1
    libTarvexButtonWidgets.so.1.2.0)
if(NOT libraries STREQUAL expected_libraries)
    message(FATAL_ERROR "installed libraries: ${libraries}; expected: ${expected_libraries}")
endif()
file(GLOB_RECURSE pc_files ${prefix}/lib*/tarvex-button.pc)
if(NOT pc_files)
    message(FATAL_ERROR "no pkg-config file was installed")
endif()
file(READ ${pc_files} pc)
if(NOT pc MATCHES "\nLibs: -L\\$\\{libdir\\} -lTarvexButtonWidgets\n")
    message(FATAL_ERROR "the pkg-config file does not link the one library:\n${pc}")
endif()

if(NOT pc MATCHES "^prefix=${prefix}\n")
    message(FATAL_ERROR "the pkg-config file does not name the prefix ${prefix}:\n${pc}")
endif()

# A program built with what pkg-config gives, the one header and the one library.
find_program(pkg_config NAMES pkg-config pkgconf)
if(pkg_config)
    get_filename_component(pc_dir ${pc_files} DIRECTORY)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pc_dir}
                            ${pkg_config} --cflags --libs tarvex-button
                    RESULT_VARIABLE result OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "pkg-config does not know tarvex-button")
    endif()
    separate_arguments(flags UNIX_COMMAND "${flags}")
    file(WRITE ${WORK_DIR}/pc/main.cpp [=[
#include <QApplication>
#include <cstring>
#include <tarvex/TarvexButtonWidget.hpp>
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tarvex::qt::TarvexButtonWidget button(nullptr, QStringLiteral("CmdPc"));
    return std::strcmp(tarvex::LibraryVersion(), "1.2.0") == 0 && button.caption() == "CmdPc"
               ? 0 : 1;
}
]=])
    run("build with pkg-config" c++ -fPIC ${EXTRA_FLAGS} ${WORK_DIR}/pc/main.cpp ${flags}
        -o ${WORK_DIR}/pc/pc-consumer)
    get_filename_component(lib_dir ${pc_dir} DIRECTORY)
    run("run the pkg-config build" ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
        LD_LIBRARY_PATH=${lib_dir} ${WORK_DIR}/pc/pc-consumer)
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
