# Generators of demo and benchmark game roots; they run on the build machine.
if(NOT WIN32)
  add_executable(make_game_root tools/make_game_root.cpp tests/support/package_list_builder.cpp)
  target_include_directories(make_game_root PRIVATE tests/support)
  find_package(OpenSSL REQUIRED)
  target_link_libraries(make_game_root PRIVATE OpenSSL::Crypto)
endif()
