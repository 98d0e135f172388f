# `make package`: a Debian package that installs the game with its menu entry.
set(CPACK_PACKAGE_NAME tarvel)
set(CPACK_PACKAGE_VENDOR "The Tarvel developers")
set(CPACK_PACKAGE_CONTACT "The Tarvel developers <developers@tarvel.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "knight's tour puzzle game")
set(CPACK_PACKAGE_DESCRIPTION "Place a chess knight on an empty board and visit every square once.\n The twenty best results are kept in a hall of fame and a hall of shame.\n The interface is in Russian.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Not found by the library scan: the X11 platform plugin, Qt's Russian texts and the fonts the windows ask for.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation, fonts-dejavu-core")
# Qt's Wayland platform: without it a Wayland desktop runs the game through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
include(CPack)
