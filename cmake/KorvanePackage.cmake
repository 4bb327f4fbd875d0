# The Debian package, made by CPack's DEB generator from the same install rules as
# `cmake --install`: there is no debian/ tree to keep in step with the build, and dpkg-shlibdeps
# (CPACK_DEBIAN_PACKAGE_SHLIBDEPS) still derives Depends from the libraries the programs link.
# The version is project()'s; the file is korvane_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "KORVANE developers <developers@korvane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "dash-camera clip player with the route on a map")
# CPack puts the summary on the first line of the description itself.
set(CPACK_PACKAGE_DESCRIPTION "KORVANE plays car dash-camera clips (MP4, MOV, MPEG-TS), reads the\n\
camera's telemetry from the clip or a log beside it, draws the route on a map\n\
and the G-sensor curves, and exports tracks as GPX, KML or CSV.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The program folder's FFMpeg/ffmpeg is a link to the system's ffmpeg, which the player runs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "ffmpeg")
# The indexer opens libavformat when a clip needs the demuxer instead of linking it, so
# dpkg-shlibdeps cannot see it: the package of the major version it was built against.
pkg_check_modules(KORVANE_AVFORMAT QUIET libavformat)
if(KORVANE_AVFORMAT_VERSION MATCHES "^([0-9]+)\\.")
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libavformat${CMAKE_MATCH_1}")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
# The prefix the install rules see is /usr itself (the staging folder is the DESTDIR), so the
# program folder goes to /usr/lib/korvane and the desktop entry's Exec names /usr/bin/korvane.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/package")

# A package's documentation: the copyright file and a changelog of the one release.
string(TIMESTAMP _date "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(_changelog "${CMAKE_BINARY_DIR}/package-doc/changelog")
file(WRITE "${_changelog}"
     "korvane (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
     "  * Release ${PROJECT_VERSION}.\n\n -- ${CPACK_PACKAGE_CONTACT}  ${_date}\n")
execute_process(COMMAND gzip -9nf "${_changelog}")
install(FILES "${_changelog}.gz" "${CMAKE_SOURCE_DIR}/cmake/package/copyright"
        DESTINATION share/doc/korvane)
include(CPack)
