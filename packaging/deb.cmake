# The Debian package a player installs with apt: `cpack -G DEB` in a build folder (or
# scripts/package) makes tsukikage_<version>_amd64.deb from the install rules. The libraries'
# packages come from dpkg-shlibdeps; the soundfont, the fonts and Qt's Japanese buttons stay
# other packages' files, named as dependencies, never copied in.
set(CPACK_PACKAGE_NAME tsukikage)
set(CPACK_PACKAGE_VENDOR "The Tsukikage developers")
set(CPACK_PACKAGE_CONTACT "The Tsukikage developers <tsukikage@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "player for the visual novel 月影回廊物語")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "sf2-soundfont-gm, fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "\
Plays the Japanese visual novel 月影回廊物語 from its original game folder, unchanged: its
Shift-JIS scenario, pictures with their transitions, waves, MIDI music and choices, with the
title screen, five save slots, the CG gallery, the music room and the scene replay. A demo game
of its own comes with it and plays when no folder is given.")
include(CPack)
