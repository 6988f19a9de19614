// Runs the end-to-end tests under Wine with an X display:
//
//   e2e_tests --exe=PATH_OF_OrvaneCleaner.exe --out=FOLDER_FOR_SCREENSHOTS [gtest options]
//
// Paths may be given in the Linux form; Wine's own conversion turns them
// into the DOS form.

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tool_test.h"

namespace {

std::wstring DosPath(const std::string& path) {
  using Convert = wchar_t*(CDECL*)(const char*);
  const auto convert = reinterpret_cast<Convert>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
  if (convert && !path.empty() && path[0] == '/') {
    if (wchar_t* dos = convert(path.c_str())) {
      std::wstring result = dos;
      HeapFree(GetProcessHeap(), 0, dos);
      return result;
    }
  }
  std::wstring wide(path.size() + 1, L'\0');
  const int length = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  wide.resize(length > 0 ? length - 1 : 0);
  return wide;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument.rfind("--exe=", 0) == 0) Settings().exe = DosPath(argument.substr(6));
    if (argument.rfind("--out=", 0) == 0) Settings().output = DosPath(argument.substr(6));
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
