# Linux: the few platform pieces the core needs; tests use the in-memory
# file system.
file(GLOB NATIVE_SOURCES CONFIGURE_DEPENDS src/native/*.cpp)
add_library(orvane_platform STATIC ${NATIVE_SOURCES})
target_link_libraries(orvane_platform PUBLIC orvane_core)
# The core calls the platform's fallback digest service.
target_link_libraries(orvane_core PUBLIC orvane_platform)
