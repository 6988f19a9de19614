# Fuzz targets (clang's libFuzzer with ASan and UBSan), built by scripts/fuzz
# through the "fuzz" configure preset. The core and the test doubles are
# compiled with coverage for the fuzzer; the sanitizers come from
# ORVANE_SANITIZE, which the preset turns on.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "The fuzz targets need clang (libFuzzer): configure with the fuzz preset")
endif()

target_compile_options(orvane_core PRIVATE -fsanitize=fuzzer-no-link)
target_compile_options(orvane_platform PRIVATE -fsanitize=fuzzer-no-link)

# The test doubles without GoogleTest.
add_library(orvane_fuzz_support STATIC
  ${CMAKE_SOURCE_DIR}/tests/support/memory_file_system.cpp
  ${CMAKE_SOURCE_DIR}/tests/support/fake_view.cpp
  ${CMAKE_SOURCE_DIR}/tests/support/package_list_builder.cpp
  ${CMAKE_SOURCE_DIR}/fuzz/scan_input.cpp)
target_include_directories(orvane_fuzz_support PUBLIC ${CMAKE_SOURCE_DIR}/tests/support ${CMAKE_SOURCE_DIR}/fuzz)
target_compile_options(orvane_fuzz_support PRIVATE -fsanitize=fuzzer-no-link)
target_link_libraries(orvane_fuzz_support PUBLIC orvane_core)

set(ORVANE_FUZZ_TARGETS fuzz_package_list fuzz_skip_list fuzz_scan)
foreach(target IN LISTS ORVANE_FUZZ_TARGETS)
  add_executable(${target} ${CMAKE_SOURCE_DIR}/fuzz/${target}.cpp)
  target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${target} PRIVATE orvane_fuzz_support)
endforeach()

# Writes the seed corpora into the build tree.
add_executable(fuzz_make_seeds ${CMAKE_SOURCE_DIR}/fuzz/make_seeds.cpp)
target_link_libraries(fuzz_make_seeds PRIVATE orvane_fuzz_support)

add_custom_target(fuzz_all DEPENDS ${ORVANE_FUZZ_TARGETS} fuzz_make_seeds)
