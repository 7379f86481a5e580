# The Debian package of the program: "cpack -G DEB" in the build folder makes
# vornik_<version>_amd64.deb from the Runtime component alone (whatever else the tree installs,
# such as the control's files for developers, stays out), with Depends worked out by
# dpkg-shlibdeps from the libraries the program really links.
set(CPACK_PACKAGE_NAME vornik)
set(CPACK_PACKAGE_VENDOR "The Vornik developers")
set(CPACK_PACKAGE_CONTACT "The Vornik developers <vornik@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "takes the advertising out of the instant messenger")
set(CPACK_PACKAGE_DESCRIPTION
    "Vornik changes the settings of the instant messenger running under Wine so that it shows no
advertising: it hides or restores two of its tabs and points its banners at an image of your
choice, such as the blank image that comes with it. It finds the Wine prefix of the messenger,
also those made by launchers, and asks which to change when there are several.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://vornik.example.org/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Runtime)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_PACKAGE_NAME vornik)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The messenger runs under Wine; Vornik is of no use without it, but edits its files itself.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS wine)
# Neither is named by a library the program links, so dpkg-shlibdeps cannot find them: Qt loads its
# Wayland platform at run time (a session without X needs it), and the window's fonts are mapped
# to these metric-compatible faces (with any other face the labels, laid out for their metrics,
# are cut off). dpkg-shlibdeps adds the libraries to this line.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-wayland, fonts-liberation2")

include(CPack)
