// The program: prepares the process, creates the shared state and the main
// window, runs the event loop until the window is closed, and releases the
// shared state once on whichever path the program ends.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <memory>
#include <string>

#include "shell/result_list.h"
#include "shell/shared_state.h"
#include "shell/tool.h"
#include "text/ui_texts.h"
#include "win32/main_window.h"
#include "win32/wide_text.h"
#include "win32/win32_file_system.h"

namespace {

constexpr int kFatalExitCode = -1;

// OLE for the thread (the folder browser's new dialog style needs it),
// uninitialised once.
class OleSession {
 public:
  OleSession() : ready_(SUCCEEDED(OleInitialize(nullptr))) {}
  ~OleSession() {
    if (ready_) OleUninitialize();
  }
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;

 private:
  bool ready_;
};

// The executable's path in ANSI bytes, as the system's ANSI functions give it.
Text ExecutablePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void ShowFatalError() {
  MessageBoxW(nullptr, WideFromUtf8(ui::kFatalError).c_str(), WideFromUtf8(ui::kTitleWarning).c_str(),
              MB_OK | MB_TASKMODAL | MB_ICONERROR);
}

int Run(HINSTANCE instance, int show, std::unique_ptr<SharedState>& state) {
  OleSession ole;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_TAB_CLASSES |
                                                     ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  const Text programFolder = ProgramFolderOf(ExecutablePath());
  // "C:" alone would name drive C's current folder, not its root.
  SetCurrentDirectoryA(programFolder.size() == 2 && programFolder[1] == ':' ? (programFolder + "\\").c_str()
                                                                          : programFolder.c_str());

  state = CreateSharedState();

  Win32FileSystem fileSystem;
  MainWindow window;
  ResultList results(window);
  Tool tool{fileSystem, window, *state, results, programFolder};
  if (!window.Create(instance, tool, show)) {
    ShowFatalError();
    return kFatalExitCode;
  }

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!window.TakeDialogMessage(message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  if (window.Failed()) {
    ShowFatalError();
    return kFatalExitCode;
  }
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  std::unique_ptr<SharedState> state;
  int exitCode = 0;
  try {
    exitCode = Run(instance, show, state);
  } catch (...) {
    // Memory could not be obtained outside any handler.
    ShowFatalError();
    exitCode = kFatalExitCode;
  }
  // The one release, after the window and everything that used the state
  // are gone.
  ReleaseSharedState(state);
  return exitCode;
}
