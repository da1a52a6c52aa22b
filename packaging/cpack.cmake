# The Debian package, made by "make package" (cpack in the build folder):
# build/versanto_<version>_<arch>.deb with everything "cmake --install" lays out
# under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME versanto)
set(CPACK_PACKAGE_VENDOR Calvenor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cost of reloaded ammunition")
set(CPACK_PACKAGE_DESCRIPTION
  "Versanto is a desktop program for people who reload their own ammunition.
For each cartridge load it keeps the price and pack size of the bullets and
the primers, the powder price per kilogram with the charge in grains, the
price of a case with the number of times it is reused, and the minimum and
maximum charge, and works out what one reloaded cartridge costs, part by part
and in total, and for a box of 50. Pistol and rifle loads are kept in two
tables that can be printed as cost lists. The program speaks Italian.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY versanto)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)

set(VERSANTO_PACKAGE_MAINTAINER "Calvenor <versanto@calvenor.example>" CACHE STRING
    "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT ${VERSANTO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VERSANTO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links, with the versions the build saw
# (dpkg-shlibdeps, from dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What it loads at run time without linking it: the SQLite driver of Qt SQL,
# Qt's Italian texts and the General MIDI sound font the music player plays
# MIDI files with, and the Arial-compatible font the cost lists are drawn in.
# (The SVG icon and picture plugins come with libqt6svg6,
# which the program links.)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libqt6sql6-sqlite, qt6-translations-l10n, timgm6mb-soundfont, fonts-liberation2")
# The donation page and the help's web links open in the desktop's browser;
# printing needs a print server.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")
