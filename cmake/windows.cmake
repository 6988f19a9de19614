# Windows: the Win32 adapters, the main window and the executable.
file(GLOB WIN32_SOURCES CONFIGURE_DEPENDS src/win32/*.cpp)
list(FILTER WIN32_SOURCES EXCLUDE REGEX "/main_win32\\.cpp$")
add_library(orvane_platform STATIC ${WIN32_SOURCES})
target_compile_definitions(orvane_platform PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_link_libraries(orvane_platform PUBLIC orvane_core comctl32 shell32 ole32 uuid gdi32 user32 advapi32)
target_link_libraries(orvane_core PUBLIC orvane_platform)

set(ORVANE_RC ${CMAKE_SOURCE_DIR}/src/win32/resources.rc)
if(EXISTS ${ORVANE_RC})
  set(ORVANE_RC_SOURCE ${ORVANE_RC})
endif()
add_executable(OrvaneCleaner WIN32 src/win32/main_win32.cpp ${ORVANE_RC_SOURCE})
target_link_libraries(OrvaneCleaner PRIVATE orvane_platform)
# Stripped: the symbols would add megabytes to the one file users get.
target_link_options(OrvaneCleaner PRIVATE -municode -s)
