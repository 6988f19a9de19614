#pragma once
// Drives the real OrvaneCleaner.exe from a second process, as a user would:
// finds its window and controls, presses buttons and boxes, reads captions,
// ticks and list rows, answers the folder browser and reads and closes
// message boxes. Reads that carry a pointer (list rows, column titles,
// status-bar panels, the browser's tree) go through memory placed in the
// tool's process.

#include <windows.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "win32/scoped_handle.h"

using namespace std::chrono_literals;

// Polls `condition` every few milliseconds until it holds or `timeout` has
// passed; true when it held.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s);

// A block of memory in another process, freed once.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, std::size_t size);
  ~RemoteBuffer();
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  bool Valid() const { return address_ != nullptr; }
  // The address of byte `offset` as the other process sees it.
  void* At(std::size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
  bool Write(std::size_t offset, const void* data, std::size_t size);
  bool Read(std::size_t offset, void* data, std::size_t size) const;
  // `chars` UTF-16 units from `offset`, up to the first null.
  std::wstring ReadText(std::size_t offset, std::size_t chars) const;

 private:
  HANDLE process_;
  void* address_;
  std::size_t size_;
};

// A message box as the driver saw it. `icon` is the style number of its
// icon (16 stop, 48 exclamation, 64 information), or 0 when none could be
// told.
struct SeenMessage {
  std::wstring text;
  std::wstring title;
  int icon = 0;
  bool operator==(const SeenMessage&) const = default;
};
void PrintTo(const SeenMessage& message, std::ostream* out);

// One row of the result list.
struct SeenRow {
  std::wstring name;
  std::wstring folder;
  std::wstring verdict;
  bool operator==(const SeenRow&) const = default;
  auto operator<=>(const SeenRow&) const = default;
};
void PrintTo(const SeenRow& row, std::ostream* out);

// A path given on the command line: a Linux path ("/work/...") becomes the
// DOS path that Wine maps it to; anything else is taken as a Windows path
// in UTF-8.
std::wstring DosPathOf(const std::string& path);

// UTF-8 for test output.
std::string Utf8(const std::wstring& text);

// A control's place: its top-left corner in another window's client area
// (for the tab control and the group boxes, which have no border, that is
// their top-left corner), and its size.
struct Place {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Place&) const = default;
};
void PrintTo(const Place& place, std::ostream* out);

// Plain reads and presses that need no memory in the other process.
std::wstring TextOf(HWND window);  // WM_GETTEXT, answered by the window's thread
bool IsTicked(HWND button);
bool IsEnabled(HWND window);
void Press(HWND button);  // posted BM_CLICK: returns at once, also when a dialog opens
// Sent BM_CLICK: returns once the click has been handled. Only for clicks
// that open no dialog.
void PressAndWait(HWND button);
Place PlaceIn(HWND window, HWND parent);
Place OuterPlace(HWND window);  // size of the whole window, corner on the screen

// The running tool: started by the driver, ended when this goes away (its
// dialogs closed and its window closed; terminated only if that fails).
class ToolProcess {
 public:
  // Starts `exePath` in `workingFolder` and waits for its main window.
  ToolProcess(const std::wstring& exePath, const std::wstring& workingFolder);
  ~ToolProcess();
  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  // True once the main window is up.
  bool Started() const { return window_ != nullptr; }
  HWND Window() const { return window_; }
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_.Get(); }
  bool Running() const;
  // The control with this id (any depth below the main window).
  HWND Control(int id) const;

  // The exit code once the process has ended within `timeout`.
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout);

  // The result list.
  int RowCount() const;
  std::wstring Cell(int row, int column) const;
  int RowTick(int row) const;  // 1 ticked, 0 not
  bool SetRowTick(int row, bool ticked) const;
  std::vector<SeenRow> Rows() const;  // in display order
  std::wstring ColumnTitle(int column) const;
  int ColumnWidth(int column) const;

  // The tab control's pages.
  int TabCount() const;
  std::wstring TabTitle(int page) const;

  // The progress bar.
  int ProgressPosition() const;
  int ProgressMinimum() const;
  int ProgressMaximum() const;

  // The status bar.
  std::wstring StatusText(int panel) const;
  std::vector<int> StatusPanelEdges() const;

  // Top-level dialogs of the tool (class #32770) that are showing now.
  HWND FindMessageBox() const;
  HWND FindFolderBrowser() const;

  // Waits for a message box, reads it, closes it with OK and waits until it
  // is gone. Nothing when no box came within `timeout`.
  std::optional<SeenMessage> CloseMessageBox(std::chrono::milliseconds timeout = 10s) const;

  // Waits for the folder browser, checks that it shows `prompt`, selects
  // `path` (a folder on drive C: the browser does not take Z: paths), checks
  // that the selection stuck and presses OK.
  ::testing::AssertionResult ChooseFolder(const std::wstring& path, const std::wstring& prompt) const;
  // Waits for the folder browser, checks its prompt and cancels it.
  ::testing::AssertionResult CancelFolderBrowser(const std::wstring& prompt) const;

 private:
  ::testing::AssertionResult OpenFolderBrowser(const std::wstring& prompt, HWND* browser) const;
  // The names of the tree's selected item and of its parents, leaf first.
  std::vector<std::wstring> SelectedTreePath(HWND tree) const;

  FileHandle process_;
  DWORD id_ = 0;
  HWND window_ = nullptr;
};

// Reads the icon of a message box by comparing its pixels on the screen with
// the system's stop, exclamation and information icons drawn here.
int IconOfMessageBox(HWND box);

// Saves what the screen shows of `window` as a PNG file.
bool SaveScreenshot(HWND window, const std::wstring& pngPath);
