# The korvane(1) page, written at build time from the program's own --help text and its key table
# (compiled in from src/ui/player_keys.cpp), so it cannot fall behind either; gzip -n keeps the
# package's bytes the same from one build to the next.
add_executable(korvane-man-page "${CMAKE_CURRENT_LIST_DIR}/korvane_man_page.cpp"
                                "${CMAKE_CURRENT_LIST_DIR}/man_page.cpp"
                                "${CMAKE_SOURCE_DIR}/src/ui/player_keys.cpp")
target_link_libraries(korvane-man-page PRIVATE korvane_options)
set(KORVANE_MAN_PAGE "${CMAKE_BINARY_DIR}/man/korvane.1")
add_custom_command(
  OUTPUT "${KORVANE_MAN_PAGE}.gz"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/man"
  # A sanitizer build's program may report Qt's leaks at exit; the text is what counts here.
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
          sh -c "\"$1\" --help > \"$2\"" sh "$<TARGET_FILE:korvane>" "${KORVANE_MAN_PAGE}.help"
  COMMAND korvane-man-page "${KORVANE_MAN_PAGE}.help" "${PROJECT_VERSION}" "${KORVANE_MAN_PAGE}"
  COMMAND gzip -9nf "${KORVANE_MAN_PAGE}"
  DEPENDS korvane korvane-man-page
  COMMENT "Manual page korvane(1) from --help and the key table"
  VERBATIM)
add_custom_target(korvane_man_page ALL DEPENDS "${KORVANE_MAN_PAGE}.gz")
install(FILES "${KORVANE_MAN_PAGE}.gz" DESTINATION share/man/man1)
