# `cpack -G DEB` (make package): a Debian package of what `cmake --install` installs.
set(CPACK_PACKAGE_NAME cuewright)
set(CPACK_PACKAGE_VENDOR "Cuewright")
set(CPACK_PACKAGE_CONTACT "Cuewright developers <cuewright@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "SRT subtitle editor with video, timeline and waveform")
set(CPACK_PACKAGE_DESCRIPTION
    "Cuewright edits SubRip (SRT) subtitle files while their video plays: the subtitles\
 appear as an editable list, as blocks on a zoomable timeline over the sound's\
 waveform, and over the picture. Times are typed, dragged with snapping, or taken from\
 the playback position; every change can be undone.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CUEWRIGHT_BUILD_NUMBER})
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/cuewright")
# dpkg-shlibdeps reads the libraries the program links (Qt, ICU, uchardet, Hunspell)
# and writes the matching Depends line.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time rather than linked, so shlibdeps cannot see them: libmpv and
# FFmpeg's libraries (opened when first needed, by the major versions built against),
# the xcb platform plugin for a window, the icon theme's folders, and Qt's own German texts.
set(runTimeLibraries)
string(REGEX MATCH "^[0-9]+" major "${MPV_VERSION}")
list(APPEND runTimeLibraries "libmpv${major}")
foreach(library avformat avcodec avutil swresample)
  string(REGEX MATCH "^[0-9]+" major "${FFMPEG_lib${library}_VERSION}")
  list(APPEND runTimeLibraries "lib${library}${major}")
endforeach()
list(JOIN runTimeLibraries ", " runTimeLibraries)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${runTimeLibraries}, qt6-qpa-plugins, hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

include(CPack)
