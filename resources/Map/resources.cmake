# Map pages: the script libraries come from npm (resources/Map/node_modules, filled by `npm ci`) and
# are copied into Map/lib/ of the program folder, so the pages never load them from the network.
set(_map_src "${CMAKE_CURRENT_LIST_DIR}")
set(_map_modules "${_map_src}/node_modules")
set(_map_out "${KORVANE_PROGRAM_DIR}/Map")

if(NOT EXISTS "${_map_modules}/leaflet/dist/leaflet.js")
  find_program(KORVANE_NPM npm)
  if(KORVANE_NPM)
    message(STATUS "Map pages: installing their script libraries (npm ci)")
    execute_process(COMMAND "${KORVANE_NPM}" ci --no-audit --no-fund --loglevel=error
                    WORKING_DIRECTORY "${_map_src}" RESULT_VARIABLE _npm_result)
  endif()
  if(NOT EXISTS "${_map_modules}/leaflet/dist/leaflet.js")
    message(WARNING "Map pages: ${_map_modules} is missing; run `npm ci` in ${_map_src}. "
                    "The pages will not work without their libraries.")
  endif()
endif()

set(_map_libs
  "${_map_modules}/leaflet/dist/leaflet.js"
  "${_map_modules}/leaflet/dist/leaflet.css"
  "${_map_modules}/proj4/dist/proj4.js"
  "${_map_modules}/proj4leaflet/src/proj4leaflet.js"
  "${_map_modules}/leaflet.chinatmsproviders/src/leaflet.ChineseTmsProviders.js")

# The resource target copies the whole folder; the npm files do not belong in the program folder.
add_custom_command(TARGET korvane_resources POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E rm -rf "${_map_out}/node_modules" "${_map_out}/package.json"
          "${_map_out}/package-lock.json" "${_map_out}/resources.cmake"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${_map_out}/lib/images"
  COMMAND ${CMAKE_COMMAND} -E copy ${_map_libs} "${_map_out}/lib/"
  COMMAND ${CMAKE_COMMAND} -E copy_directory "${_map_modules}/leaflet/dist/images" "${_map_out}/lib/images"
  VERBATIM)
