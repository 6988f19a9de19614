// Runs the end-to-end tests under Wine with an X display:
//
//   e2e_tests --exe=PATH_OF_OrvaneCleaner.exe --out=FOLDER_FOR_SCREENSHOTS [gtest options]
//
// Paths may be given in the Linux form.

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tool_test.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument.rfind("--exe=", 0) == 0) Settings().exe = DosPathOf(argument.substr(6));
    if (argument.rfind("--out=", 0) == 0) Settings().output = DosPathOf(argument.substr(6));
  }
  if (Settings().exe.empty()) {
    std::fprintf(stderr, "usage: e2e_tests --exe=OrvaneCleaner.exe --out=FOLDER [gtest options]\n");
    return 2;
  }
  if (!GetEnvironmentVariableW(L"DISPLAY", nullptr, 0)) {
    std::fprintf(stderr, "e2e_tests needs an X display: set DISPLAY (scripts/test starts Xvfb for it)\n");
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // the screenshots' PNG encoder
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
