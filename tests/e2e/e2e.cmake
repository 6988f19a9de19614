# End-to-end tests (Windows build): e2e_tests.exe starts the real
# OrvaneCleaner.exe under Wine and drives its window from a second process.
# They need an X display: CTest passes on the DISPLAY it runs with
# (scripts/test starts Xvfb first), and the Wine prefix should be set up as
# scripts/wine-env does (no window manager decorations, Chinese fonts).
add_library(orvane_e2e_driver STATIC tests/e2e/window_driver.cpp tests/e2e/game_root.cpp)
target_include_directories(orvane_e2e_driver PUBLIC tests/e2e)
target_link_libraries(orvane_e2e_driver PUBLIC orvane_test_support orvane_platform windowscodecs ole32 uuid)

file(GLOB E2E_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*_test.cpp)
add_executable(e2e_tests ${E2E_TEST_SOURCES} tests/e2e/tool_test.cpp tests/e2e/e2e_main.cpp)
target_link_libraries(e2e_tests PRIVATE orvane_e2e_driver)
add_dependencies(e2e_tests OrvaneCleaner)
add_test(NAME e2e_tests COMMAND e2e_tests --exe=$<TARGET_FILE:OrvaneCleaner> --out=${CMAKE_BINARY_DIR})
# One screen and one fixtures folder: nothing else runs beside it.
set_tests_properties(e2e_tests PROPERTIES RUN_SERIAL TRUE TIMEOUT 900)

# The window-level digest benchmark: prints figures, is no test
# (bench/run_e2e_digest_bench runs it).
if(EXISTS ${CMAKE_SOURCE_DIR}/bench/e2e_digest_bench.cpp)
  add_executable(e2e_digest_bench bench/e2e_digest_bench.cpp)
  target_link_libraries(e2e_digest_bench PRIVATE orvane_e2e_driver psapi)
  add_dependencies(e2e_digest_bench OrvaneCleaner)
endif()
