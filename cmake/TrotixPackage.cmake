# `make package`: a Debian package of the three programs, the menu entry and the icon. Its
# dependencies are the Debian runtime packages of the libraries the programs link, found by
# dpkg-shlibdeps, plus what is loaded without being linked.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trotix)
set(CPACK_PACKAGE_VENDOR Trotix)
set(CPACK_PACKAGE_CONTACT "Trotix team <team@trotix.dev>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://trotix.dev/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Race-day analysis for exchange bettors")
# Lines of the extended description stay within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "Race-day analysis for people who bet on horse racing: the window trotix,\n\
the scriptable trotix-cli and the demo vendor server trotix-vendor-sim.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's platform plugin and font are loaded, not linked.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
include(CPack)
