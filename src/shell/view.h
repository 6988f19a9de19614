#pragma once
// What the handlers need of the main window. The real one is the Win32 main
// window; tests use a FakeView that records what it was asked to show.

#include <algorithm>
#include <chrono>
#include <thread>

#include "shell/notifier.h"
#include "text/text.h"
#include "text/ui_texts.h"

// The controls that handlers read or change, named as on the window.
enum class Control {
  按钮_选择游戏目录,
  编辑框_游戏目录,
  选择框_全选,
  进度条_扫描,
  按钮_开始扫描,
  按钮_清理文件,
  分组框1,  // disabling it disables every control inside it
  选择框_大小对比,
  选择框_哈希对比,
  选择框_备份到目录,
  编辑框_备份目录,
  按钮_备份目录,
  单选框_IP,
  单选框_SP,
};

class View : public Notifier {
 public:
  // Tick of a check box, or choice of a radio button. Setting a tick raises
  // no click event.
  virtual bool IsTicked(Control control) = 0;
  virtual void SetTicked(Control control, bool ticked) = 0;

  virtual bool IsEnabled(Control control) = 0;
  virtual void SetEnabled(Control control, bool enabled) = 0;

  // The caption of a button.
  virtual void SetCaption(Control control, UiText caption) = 0;

  // The text of a read-only edit box: a folder path in ANSI bytes.
  virtual void SetEditText(Control control, const Text& text) = 0;

  // 进度条_扫描.
  virtual void SetProgressMaximum(int maximum) = 0;
  virtual void SetProgressPosition(int position) = 0;
  virtual int ProgressPosition() = 0;

  // The rows of 超级列表框_扫描结果, 0-based in display order.
  virtual int RowCount() = 0;
  virtual void AppendRow(const Text& name, const Text& folder, UiText verdict) = 0;
  virtual void RemoveRow(int index) = 0;
  virtual void RemoveAllRows() = 0;
  // 1 ticked, 0 not ticked.
  virtual int RowTick(int index) = 0;
  virtual void SetRowTick(int index, int tick) = 0;

  // The folder browser over the whole namespace, folders only, with an edit
  // field. The chosen folder's file-system path (no trailing "\" except for a
  // drive root), or the empty text when cancelled or not a file-system folder.
  virtual Text BrowseForFolder(UiText prompt) = 0;

  // Handles the window's pending messages (input, repaints) and returns when
  // none is left. False once the window is closing: the caller then stops.
  virtual bool ProcessPendingMessages() = 0;

  // Blocks until a window message is pending, Wake() was called, or the
  // timeout has passed, whichever comes first. Used while the scan waits
  // for a digest from a worker thread.
  virtual void WaitForMessageOrWake(std::chrono::milliseconds timeout) {
    std::this_thread::sleep_for(std::min(timeout, std::chrono::milliseconds(1)));
  }
  // Ends a WaitForMessageOrWake in progress, or the next one. Safe to call
  // from any thread.
  virtual void Wake() {}
};
