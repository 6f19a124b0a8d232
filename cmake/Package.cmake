# `make package`: a Debian package of the installed layout, built by CPack from a Release tree.
# The program goes to /usr/lib/velmora with everything it reads beside it and a link in /usr/bin.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${VELMORA_VERSION})
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "study aid for the Art of nine letters and the seven planets")
# Debian shows the long description as written, so its lines are kept short.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Velmora shows everything that belongs to a combination of three of the nine"
  "letters of a medieval combinatorial Art: its four figures, the evacuation of"
  "the third figure, the General Table and the texts of each letter."
  "."
  "It also draws the seven classical planets for any moment from the year 100 to"
  "9999 and any place as a ring chart beside a month calendar, plays the sky as"
  "music on a MIDI synthesiser, and carries four short books on the Art and the"
  "planets.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velmora maintainers <maintainers@velmora.invalid>"
    CACHE STRING "Maintainer named in the Debian package")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
if(VELMORA_HOMEPAGE)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VELMORA_HOMEPAGE})
endif()
# The libraries the executable links are found by dpkg-shlibdeps, so whatever it comes to link
# is named without a change here. What it only reads or loads at run time is named by hand: the
# ephemeris files, the SoundFont, the fonts of the layout (Arial and Times New Roman resolve to
# the Liberation faces, DejaVu covers the rest), the time-zone database and the atlas's place
# names with the library that reads them, the ephemeris library, the synthesiser's library and
# alsa-lib (all opened at run time, so shlibdeps cannot see them), and Qt's platform plugins
# (the SVG icon plugin comes with the SVG library it links).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libswe2.0, swe-standard-data, swe-extra-data, timgm6mb-soundfont, fonts-liberation2, \
fonts-dejavu-core, tzdata, libgeonames0, libgeonames-common, libfluidsynth3, libasound2, \
qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "fluid-soundfont-gm")

# A Debian package carries its licence as /usr/share/doc/<package>/copyright.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE _licence)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/copyright @ONLY CONTENT
"Velmora @VELMORA_VERSION@

Licence: GNU Affero General Public License, version 3 or (at your option) any later version.
The full text follows.

The symbol font /usr/lib/velmora/astrol.ttf is built from DejaVu Sans; its licence is
/usr/lib/velmora/astrol-licence.txt.

@_licence@")
install(FILES ${CMAKE_BINARY_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velmora)

include(CPack)
