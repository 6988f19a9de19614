# Benchmarks that print figures: natively on the in-memory file system, and
# in the Windows build on real files under Wine.
add_executable(scan_bench bench/scan_bench.cpp)
target_link_libraries(scan_bench PRIVATE orvane_test_support)
if(WIN32)
  target_link_libraries(scan_bench PRIVATE orvane_platform psapi)
endif()
