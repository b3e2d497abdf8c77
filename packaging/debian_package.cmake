# The Debian package. Its dependencies are what dpkg-shlibdeps finds the program linking, and what
# it loads without linking: Qt's platform plugins, which show the window, and the font that the
# window is laid out with where the design's face is missing.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_VENDOR}")
# The long description; cpack puts CPACK_PACKAGE_DESCRIPTION_SUMMARY before it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[zarn edits the lists of unit numbers that each country may buy in each
unit class of Panzer General and Allied General. It copies the table out
of the game's executable, pg.exe or ag.exe, into a plain text file that
you edit in any text editor, and writes the edited file back, checking it
first so that a bad file never reaches the game.

Start zarn on the game's folder, zarn GAME_FOLDER, or from the menu.]])
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
