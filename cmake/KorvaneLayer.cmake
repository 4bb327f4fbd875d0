# korvane_layer(NAME [QT] [DEPS targets...])
# Makes the static library korvane_NAME from every .cpp in src/NAME except the programs' mains
# (main.cpp, window_main.cpp).
# DEPS name the layers below it that it includes; the layering check (tests/layering) holds the
# same order. QT links Qt Widgets and WebChannel and runs moc; only the UI framework asks for it
# (the web engine itself is a module it loads at run time, see src/framework/webengine).
function(korvane_layer name)
  cmake_parse_arguments(L "QT" "" "DEPS" ${ARGN})
  set(target korvane_${name})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/src/${name}/*.cpp")
  list(FILTER sources EXCLUDE REGEX "/(window_)?main\\.cpp$")
  file(GLOB headers CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/src/${name}/*.h")
  add_library(${target} STATIC ${sources} ${headers})
  target_link_libraries(${target} PUBLIC korvane_options ${L_DEPS})
  if(L_QT)
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
    target_link_libraries(${target} PUBLIC Qt6::Widgets Qt6::WebChannel Qt6::Svg ${CMAKE_DL_LIBS})
  endif()
endfunction()

# korvane_test_folder(LAYER [QT] [FILTER gtest-filter] [LIBS targets...])
# One test executable per folder of tests/: every .cpp of tests/<LAYER>. QT uses the shared main
# that creates the application object (offscreen); otherwise GoogleTest's own main. FILTER limits
# the tests ctest knows of (empty: all). Each test gets the properties in KORVANE_TEST_PROPERTIES
# besides its time-out and its folder's label.
function(korvane_test_folder layer)
  cmake_parse_arguments(T "QT" "FILTER" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${layer}/*.cpp")
  if(NOT sources)
    return()
  endif()
  set(target korvane_${layer}_tests)
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE korvane_options korvane_test_support ${T_LIBS}
                        GTest::gmock)
  if(T_QT)
    target_link_libraries(${target} PRIVATE korvane_test_qt_main)
  else()
    target_link_libraries(${target} PRIVATE GTest::gtest_main)
  endif()
  set(filter)
  if(T_FILTER)
    set(filter TEST_FILTER "${T_FILTER}")
  endif()
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 ${filter}
                       PROPERTIES TIMEOUT 300 LABELS ${layer} ${KORVANE_TEST_PROPERTIES})
endfunction()
