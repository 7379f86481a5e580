# The control as a package other programs build against: two shared libraries made from the
# project's own archives (TarvexButtonCore: drawing layer and control; TarvexButtonWidgets: the
# Qt widget), their public headers under include/tarvex, a CMake package and a pkg-config file.
# Shared, so that a program and the Designer plugin it loads share one copy of the widget (one
# meta-object, one set of desktop colours, one message-box service). Everything here installs
# under the components Development (libraries, headers, package files) and Designer (plugin);
# nothing lands in the program's Runtime component.
if(WIN32)
    return()
endif()

include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(TARVEX_PACKAGE_VERSION ${PROJECT_VERSION})
set(TARVEX_SOVERSION 1)
set(TARVEX_INCLUDE_SUBDIR tarvex)
set(tarvex_map ${PROJECT_SOURCE_DIR}/cmake/TarvexButton.map)

# One shared library made from whole archives, exporting only what the version script names.
function(tarvex_shared_library name)
    cmake_parse_arguments(ARG "" "" "ARCHIVES;PUBLIC" ${ARGN})
    add_library(${name} SHARED ${PROJECT_SOURCE_DIR}/cmake/PackageVersion.cpp)
    add_library(TarvexButton::${ARGV1} ALIAS ${name})
    set_target_properties(${name} PROPERTIES
        VERSION ${TARVEX_PACKAGE_VERSION} SOVERSION ${TARVEX_SOVERSION} INSTALL_RPATH "$ORIGIN"
        CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON
        LINK_DEPENDS ${tarvex_map})
    # Every member of the archives goes in (the public API includes what the program itself never
    # calls); the archives linked again after that only bring their own dependencies.
    set(whole "")
    foreach(archive ${ARG_ARCHIVES})
        list(APPEND whole $<TARGET_FILE:${archive}>)
    endforeach()
    target_link_options(${name} PRIVATE LINKER:--whole-archive ${whole} LINKER:--no-whole-archive
        LINKER:--version-script=${tarvex_map} LINKER:--no-undefined)
    target_link_libraries(${name} PRIVATE ${ARG_ARCHIVES} PUBLIC ${ARG_PUBLIC})
    target_include_directories(${name} PUBLIC
        $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
        $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/${TARVEX_INCLUDE_SUBDIR}>)
    target_compile_features(${name} PUBLIC cxx_std_20)
    target_compile_definitions(${name} PRIVATE
        TARVEX_PACKAGE_VERSION_TEXT="${TARVEX_PACKAGE_VERSION}")
endfunction()

tarvex_shared_library(TarvexButtonCore Core ARCHIVES tarvex_button vornik_gdi)
set_target_properties(TarvexButtonCore PROPERTIES EXPORT_NAME Core)
set(tarvex_package_targets TarvexButtonCore)
if(TARGET tarvex_qt_host)
    find_package(Qt6 REQUIRED COMPONENTS Widgets)
    tarvex_shared_library(TarvexButtonWidgets Widgets
        ARCHIVES tarvex_qt_host PUBLIC TarvexButtonCore Qt6::Widgets)
    set_target_properties(TarvexButtonWidgets PROPERTIES EXPORT_NAME Widgets)
    list(APPEND tarvex_package_targets TarvexButtonWidgets)
endif()

install(TARGETS ${tarvex_package_targets} EXPORT TarvexButtonTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
            NAMELINK_COMPONENT Development)

# Public headers only: the drawing layer's internals, the looks and the widget's helpers stay out.
set(tarvex_public_headers
    gdi/gdi.hpp
    button/TarvexButton.hpp button/HostServices.hpp button/Types.hpp button/PropertyBag.hpp
    button/FormLayout.hpp button/PropertyDescriptions.hpp button/Version.hpp)
if(TARGET tarvex_qt_host)
    list(APPEND tarvex_public_headers host/qt/TarvexButtonWidget.hpp host/qt/PropertyNames.hpp)
endif()
foreach(header ${tarvex_public_headers})
    get_filename_component(dir ${header} DIRECTORY)
    install(FILES ${PROJECT_SOURCE_DIR}/${header}
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${TARVEX_INCLUDE_SUBDIR}/${dir}
        COMPONENT Development)
endforeach()

set(tarvex_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/TarvexButton)
install(EXPORT TarvexButtonTargets NAMESPACE TarvexButton:: DESTINATION ${tarvex_cmake_dir}
    FILE TarvexButtonTargets.cmake COMPONENT Development)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/TarvexButtonConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/TarvexButtonConfigVersion.cmake
    DESTINATION ${tarvex_cmake_dir} COMPONENT Development)

set(TARVEX_PC_QT_REQUIRES "")
set(TARVEX_HAS_WIDGETS FALSE)
if(TARGET tarvex_qt_host)
    set(TARVEX_PC_QT_REQUIRES "Qt6Widgets")
    set(TARVEX_HAS_WIDGETS TRUE)
endif()
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/TarvexButtonConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/TarvexButtonConfig.cmake INSTALL_DESTINATION ${tarvex_cmake_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/TarvexButtonConfigVersion.cmake
    VERSION ${TARVEX_PACKAGE_VERSION} COMPATIBILITY SameMajorVersion)
configure_file(${PROJECT_SOURCE_DIR}/cmake/tarvex-button.pc.in
    ${CMAKE_CURRENT_BINARY_DIR}/tarvex-button.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tarvex-button.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT Development)

if(TARGET TarvexButtonWidgets)
    add_subdirectory(${PROJECT_SOURCE_DIR}/host/qt/designer ${CMAKE_BINARY_DIR}/host/qt/designer)
endif()

# The API reference of the public headers (Doxygen, outside the default build): the target
# tarvex-api-docs writes build/<preset>/docs/api/html and fails on any Doxygen warning.
find_package(Doxygen QUIET)
if(DOXYGEN_FOUND)
    set(TARVEX_DOCS_OUTPUT ${CMAKE_BINARY_DIR}/docs/api)
    list(TRANSFORM tarvex_public_headers PREPEND ${PROJECT_SOURCE_DIR}/ OUTPUT_VARIABLE docs_input)
    list(JOIN docs_input " " TARVEX_DOCS_INPUT)
    configure_file(${PROJECT_SOURCE_DIR}/docs/api/Doxyfile.in ${TARVEX_DOCS_OUTPUT}/Doxyfile @ONLY)
    add_custom_target(tarvex-api-docs
        COMMAND Doxygen::doxygen ${TARVEX_DOCS_OUTPUT}/Doxyfile
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        COMMENT "API reference of the TarvexButton package (docs/api/html)"
        VERBATIM)
endif()
