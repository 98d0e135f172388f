# `make package`: a Debian package that installs the game with its menu entry.
set(CPACK_PACKAGE_NAME tarvel)
set(CPACK_PACKAGE_VENDOR "The Tarvel developers")
set(CPACK_PACKAGE_CONTACT "The Tarvel developers <tarvel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Knight's tour puzzle game")
set(CPACK_PACKAGE_DESCRIPTION "Place a chess knight on an empty board and visit every square once.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not found by the library scan: the X11 platform plugin and the fonts the windows ask for.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation, fonts-dejavu-core")
include(CPack)
