# The control as a package other programs build against: one shared library, TarvexButtonWidgets
# (the Qt widget, with the toolkit-free control and its drawing layer linked in statically and
# hidden), its public headers under include/tarvex, a CMake package and a pkg-config file.
# Shared, so that a program and the Designer plugin it loads share one copy of the widget (one
# meta-object, one set of desktop colours, one message-box service). What it exports is what the
# public headers mark with the export macro (GenerateExportHeader, see host/qt/CMakeLists.txt):
# every archive inside is built with hidden visibility. Everything here installs under the
# components Development (library, headers, package files) and Designer (plugin); nothing lands
# in the program's Runtime component.
if(NOT TARGET TarvexButtonWidgets)
    return()
endif()

include(GNUInstallDirs)
include(CMakePackageConfigHelpers)
find_package(Qt6 REQUIRED COMPONENTS Widgets)

set(TARVEX_PACKAGE_VERSION ${PROJECT_VERSION})
set(TARVEX_SOVERSION 1)
set(tarvex_map ${PROJECT_SOURCE_DIR}/cmake/TarvexButton.map)

# Nothing of the control, its drawing layer or the widget's helpers is exported by accident.
set_target_properties(tarvex_qt_host tarvex_button vornik_gdi PROPERTIES
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)

add_library(TarvexButton::Widgets ALIAS TarvexButtonWidgets)
set_target_properties(TarvexButtonWidgets PROPERTIES
    EXPORT_NAME Widgets VERSION ${TARVEX_PACKAGE_VERSION} SOVERSION ${TARVEX_SOVERSION}
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON LINK_DEPENDS ${tarvex_map})
# Every member of the widget's archive goes in (the public API includes what the program itself
# never calls); the control's and the drawing layer's archives give only what the widget uses,
# and whatever of theirs might still be marked visible is made local (--exclude-libs).
target_link_options(TarvexButtonWidgets PRIVATE
    LINKER:--whole-archive $<TARGET_FILE:tarvex_qt_host> LINKER:--no-whole-archive
    LINKER:--exclude-libs,$<TARGET_FILE_NAME:tarvex_button>:$<TARGET_FILE_NAME:vornik_gdi>
    LINKER:--version-script=${tarvex_map} LINKER:--no-undefined)
target_link_libraries(TarvexButtonWidgets PRIVATE tarvex_qt_host tarvex_button vornik_gdi
                      PUBLIC Qt6::Widgets)
target_include_directories(TarvexButtonWidgets PUBLIC
    "$<BUILD_INTERFACE:${TARVEX_WIDGETS_PUBLIC_INCLUDE_DIRS}>"
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_compile_features(TarvexButtonWidgets PUBLIC cxx_std_20)
target_compile_definitions(TarvexButtonWidgets PRIVATE
    TARVEX_PACKAGE_VERSION_TEXT="${TARVEX_PACKAGE_VERSION}")

install(TARGETS TarvexButtonWidgets EXPORT TarvexButtonTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
            NAMELINK_COMPONENT Development)

# The public headers, and only they: the control's model, its drawing layer and the widget's
# private headers stay in the source tree.
set(tarvex_public_headers ${TARVEX_WIDGETS_PUBLIC_HEADERS})
install(FILES ${tarvex_public_headers}
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tarvex COMPONENT Development)

set(tarvex_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/TarvexButton)
install(EXPORT TarvexButtonTargets NAMESPACE TarvexButton:: DESTINATION ${tarvex_cmake_dir}
    FILE TarvexButtonTargets.cmake COMPONENT Development)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/TarvexButtonConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/TarvexButtonConfigVersion.cmake
    DESTINATION ${tarvex_cmake_dir} COMPONENT Development)

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/TarvexButtonConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/TarvexButtonConfig.cmake INSTALL_DESTINATION ${tarvex_cmake_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/TarvexButtonConfigVersion.cmake
    VERSION ${TARVEX_PACKAGE_VERSION} COMPATIBILITY SameMajorVersion)
# The pkg-config file names the prefix it is installed under, which `cmake --install --prefix`
# chooses at install time: it is written then.
install(CODE "
    set(TARVEX_PC_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
    set(TARVEX_PC_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
    set(TARVEX_PC_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
    set(TARVEX_PACKAGE_VERSION \"${TARVEX_PACKAGE_VERSION}\")
    configure_file(\"${PROJECT_SOURCE_DIR}/cmake/tarvex-button.pc.in\"
                   \"${CMAKE_CURRENT_BINARY_DIR}/tarvex-button.pc\" @ONLY)
    " COMPONENT Development)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tarvex-button.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT Development)

add_subdirectory(${PROJECT_SOURCE_DIR}/host/qt/designer ${CMAKE_BINARY_DIR}/host/qt/designer)
include(TarvexAbi)

# The API reference of the public headers (Doxygen, outside the default build): the target
# tarvex-api-docs writes build/<preset>/docs/api/html and fails on any Doxygen warning.
find_package(Doxygen QUIET)
if(DOXYGEN_FOUND)
    set(TARVEX_DOCS_OUTPUT ${CMAKE_BINARY_DIR}/docs/api)
    # The interface itself; the generated export header holds only the export macro.
    set(TARVEX_DOCS_INPUT ${PROJECT_SOURCE_DIR}/host/qt/include/tarvex/TarvexButtonWidget.hpp)
    configure_file(${PROJECT_SOURCE_DIR}/docs/api/Doxyfile.in ${TARVEX_DOCS_OUTPUT}/Doxyfile @ONLY)
    add_custom_target(tarvex-api-docs
        COMMAND Doxygen::doxygen ${TARVEX_DOCS_OUTPUT}/Doxyfile
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        COMMENT "API reference of the TarvexButton package (docs/api/html)"
        VERBATIM)
endif()
