#include "win32/folder_browser.h"

#include <shlobj.h>

#include <vector>

#include "win32/wide_text.h"

namespace {

// Disables the thread's enabled top-level windows for as long as it lives,
// then gives them back their state and restores the active and foreground
// windows.
class ThreadWindowsDisabled {
 public:
  ThreadWindowsDisabled() : active_(GetActiveWindow()), foreground_(GetForegroundWindow()) {
    EnumThreadWindows(GetCurrentThreadId(), &ThreadWindowsDisabled::Collect, reinterpret_cast<LPARAM>(this));
    for (HWND window : disabled_) EnableWindow(window, FALSE);
  }
  ~ThreadWindowsDisabled() {
    for (HWND window : disabled_) {
      if (IsWindow(window)) EnableWindow(window, TRUE);
    }
    if (foreground_ && IsWindow(foreground_)) SetForegroundWindow(foreground_);
    if (active_ && IsWindow(active_)) SetActiveWindow(active_);
  }
  ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
  ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;

  HWND Active() const { return active_; }

 private:
  static BOOL CALLBACK Collect(HWND window, LPARAM self) {
    if (IsWindowVisible(window) && IsWindowEnabled(window)) {
      reinterpret_cast<ThreadWindowsDisabled*>(self)->disabled_.push_back(window);
    }
    return TRUE;
  }

  HWND active_;
  HWND foreground_;
  std::vector<HWND> disabled_;
};

// The browser's result, freed once.
struct ItemList {
  PIDLIST_ABSOLUTE pidl = nullptr;
  ~ItemList() { CoTaskMemFree(pidl); }
};

}  // namespace

Text BrowseForFolder(UiText prompt) {
  const std::wstring title = WideFromUtf8(prompt);
  ItemList item;
  {
    ThreadWindowsDisabled disabled;
    BROWSEINFOW info{};
    info.hwndOwner = disabled.Active();
    info.pidlRoot = nullptr;  // the desktop: the whole namespace
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
    item.pidl = SHBrowseForFolderW(&info);
  }
  if (!item.pidl) return {};
  wchar_t path[MAX_PATH + 1] = {};
  if (!SHGetPathFromIDListW(item.pidl, path) || path[0] == L'\0') return {};
  Text ansi;
  if (!AnsiFromWide(path, &ansi)) return {};
  return ansi;
}
