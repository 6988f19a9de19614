#pragma once
// The tool's one window: its controls, the mapping of their events to the
// core's handlers, and the View that those handlers work through. No
// business logic lives here.

#include <windows.h>

#include <chrono>
#include <memory>

#include "shell/tool.h"
#include "shell/view.h"

class MainWindow final : public View {
 public:
  MainWindow();
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window centred on the screen with all its controls in their
  // initial states, and shows it. False when the window or one of its
  // controls cannot be created. `tool` must outlive the window.
  bool Create(HINSTANCE instance, Tool& tool, int show);

  HWND Handle() const { return hwnd_; }
  // True once the window has been destroyed (closed, or after a failure).
  bool Closed() const { return closed_; }
  // True when a handler failed (memory could not be obtained) and the
  // window was destroyed for it: the program ends on its fatal path.
  bool Failed() const { return failed_; }

  // Gives the window the keyboard messages that move the focus (Tab, arrow
  // keys in the radio group, Space and Enter on buttons). True when it took
  // `message`; the event loop then neither translates nor dispatches it.
  bool TakeDialogMessage(MSG& message);

  // View.
  void ShowMessage(UiText text, UiText title, MessageIcon icon) override;
  bool IsTicked(Control control) override;
  void SetTicked(Control control, bool ticked) override;
  bool IsEnabled(Control control) override;
  void SetEnabled(Control control, bool enabled) override;
  void SetCaption(Control control, UiText caption) override;
  void SetEditText(Control control, const Text& text) override;
  void SetProgressMaximum(int maximum) override;
  void SetProgressPosition(int position) override;
  int ProgressPosition() override { return progress_position_; }
  int RowCount() override;
  void AppendRow(const Text& name, const Text& folder, UiText verdict) override;
  void RemoveRow(int index) override;
  void RemoveAllRows() override;
  int RowTick(int index) override;
  void SetRowTick(int index, int tick) override;
  Text BrowseForFolder(UiText prompt) override;
  bool ProcessPendingMessages() override;
  void WaitForMessageOrWake(std::chrono::milliseconds timeout) override;
  void Wake() override;

 private:
  using Clock = std::chrono::steady_clock;
  struct Fonts;

  static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool OnCreate();
  void OnClick(int id);
  LRESULT OnStaticColour(HDC dc, HWND control);
  void OnDrawPicture(const DRAWITEMSTRUCT& item);
  void OnActivate(bool active);
  void Fail(bool destroy);

  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  HWND Item(Control control) const;
  // Moves the keyboard focus on when the focused control has been disabled.
  void KeepFocusUsable();

  // Row changes reach the screen in batches: the list stops redrawing at
  // the first change and shows the lot when a batch is due, before a modal
  // dialog, and when a handler returns.
  void HoldListRedraw();
  void ShowHeldRows();
  // The bar shows the latest position at most every few tens of
  // milliseconds, and always 0 and its maximum.
  void ShowProgress();
  void ShowEverythingHeld();

  HWND hwnd_ = nullptr;
  Tool* tool_ = nullptr;
  HANDLE wake_ = nullptr;  // auto-reset event set by Wake
  std::unique_ptr<Fonts> fonts_;
  HWND focus_ = nullptr;  // the control to give the focus back to
  bool closing_ = false;
  bool closed_ = false;
  bool failed_ = false;

  bool list_held_ = false;
  Clock::time_point list_held_since_{};
  int progress_maximum_ = 100;
  int progress_position_ = 0;
  int progress_shown_ = 0;
  Clock::time_point progress_shown_at_{};
};
