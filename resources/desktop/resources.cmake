# The desktop entry that lets a file manager open dash-camera clips with the program, its icons
# and its AppStream metadata. The build tree's entry points into the build's program folder; the
# installed one is written by `cmake --install` itself, so its Exec names the prefix given there
# (--prefix, or /usr for the package) and never the prefix of the configure run or the DESTDIR.
set(KORVANE_DESKTOP_EXEC "${KORVANE_PROGRAM_DIR}/korvane")
set(KORVANE_DESKTOP_ICON "${KORVANE_PROGRAM_DIR}/skin/logo.svg")
# Beside the program folder, not in it: the folder is installed as it is.
configure_file("${CMAKE_CURRENT_LIST_DIR}/korvane.desktop.in" "${CMAKE_BINARY_DIR}/korvane.desktop"
               @ONLY)
set(_desktop_in "${CMAKE_CURRENT_LIST_DIR}/korvane.desktop.in")
set(_desktop_out "${CMAKE_CURRENT_BINARY_DIR}/installed/korvane.desktop")
install(CODE "
  set(KORVANE_DESKTOP_EXEC \"\${CMAKE_INSTALL_PREFIX}/bin/korvane\")
  set(KORVANE_DESKTOP_ICON korvane)
  configure_file(\"${_desktop_in}\" \"${_desktop_out}\" @ONLY)
  file(INSTALL \"${_desktop_out}\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications\")
")

# The release date is the day of the version's configure run; the version is project()'s.
string(TIMESTAMP KORVANE_RELEASE_DATE "%Y-%m-%d" UTC)
set(KORVANE_METAINFO "${CMAKE_CURRENT_BINARY_DIR}/org.korvane.KORVANE.metainfo.xml")
configure_file("${CMAKE_CURRENT_LIST_DIR}/org.korvane.KORVANE.metainfo.xml.in" "${KORVANE_METAINFO}"
               @ONLY)
install(FILES "${KORVANE_METAINFO}" DESTINATION share/metainfo)

# Icons: the logo as it is for scalable/apps, and PNGs at the usual sizes drawn from it when the
# build has ImageMagick (they are made once, and again only when the logo changes).
set(_logo "${CMAKE_SOURCE_DIR}/resources/skin/logo.svg")
install(FILES "${_logo}" DESTINATION share/icons/hicolor/scalable/apps RENAME korvane.svg)
find_program(KORVANE_CONVERT convert)
if(KORVANE_CONVERT)
  set(_pngs)
  foreach(size IN ITEMS 16 32 48 64 128 256)
    set(_png "${CMAKE_BINARY_DIR}/icons/${size}x${size}/korvane.png")
    add_custom_command(OUTPUT "${_png}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/icons/${size}x${size}"
      COMMAND "${KORVANE_CONVERT}" -background none -density 384 "${_logo}" -resize
              ${size}x${size} -strip "${_png}"
      DEPENDS "${_logo}" VERBATIM)
    list(APPEND _pngs "${_png}")
    install(FILES "${_png}" DESTINATION share/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(korvane_icons ALL DEPENDS ${_pngs})
endif()
