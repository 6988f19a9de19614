# Linux: the core with the native digest service; tests use the in-memory
# file system.
find_package(OpenSSL REQUIRED)
file(GLOB NATIVE_SOURCES CONFIGURE_DEPENDS src/native/*.cpp)
add_library(orvane_platform STATIC ${NATIVE_SOURCES})
target_link_libraries(orvane_platform PUBLIC orvane_core OpenSSL::Crypto)
# The core calls the digest port, which the platform library implements.
target_link_libraries(orvane_core PUBLIC orvane_platform)
