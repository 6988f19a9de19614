#pragma once
// Lets the window live while a handler works: pending messages are processed
// at the points where the work may pause, but at most once per interval, so
// a scan of many small files does not spend its time in the message loop.

#include <chrono>

#include "shell/view.h"

class MessagePump {
 public:
  MessagePump(View& view, std::chrono::milliseconds interval) : view_(view), interval_(interval) {}

  // Processes the pending messages when the interval has passed since the
  // last time. False once the window is closing: the caller stops.
  bool Poll();
  // Processes the pending messages now, whatever the interval.
  bool Now();

  bool Closing() const { return closing_; }

 private:
  View& view_;
  std::chrono::milliseconds interval_;
  std::chrono::steady_clock::time_point last_{};
  bool closing_ = false;
};
