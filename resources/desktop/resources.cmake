# The desktop entry that lets a file manager open MP4 files with the program: one for the build
# tree's program folder, one with the installed paths for share/applications.
set(KORVANE_DESKTOP_EXEC "${KORVANE_PROGRAM_DIR}/korvane")
set(KORVANE_DESKTOP_ICON "${KORVANE_PROGRAM_DIR}/skin/logo.svg")
# Beside the program folder, not in it: the folder is installed as it is.
configure_file("${CMAKE_CURRENT_LIST_DIR}/korvane.desktop.in" "${CMAKE_BINARY_DIR}/korvane.desktop"
               @ONLY)
set(KORVANE_DESKTOP_EXEC "${CMAKE_INSTALL_PREFIX}/KORVANE/korvane")
set(KORVANE_DESKTOP_ICON "${CMAKE_INSTALL_PREFIX}/KORVANE/skin/logo.svg")
configure_file("${CMAKE_CURRENT_LIST_DIR}/korvane.desktop.in"
               "${CMAKE_CURRENT_BINARY_DIR}/installed/korvane.desktop" @ONLY)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/installed/korvane.desktop" DESTINATION share/applications)
