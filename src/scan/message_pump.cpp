#include "scan/message_pump.h"

bool MessagePump::Poll() {
  if (closing_) return false;
  const auto now = std::chrono::steady_clock::now();
  if (last_ != std::chrono::steady_clock::time_point{} && now - last_ < interval_) return true;
  return Now();
}

bool MessagePump::Now() {
  if (closing_) return false;
  last_ = std::chrono::steady_clock::now();
  if (!view_.ProcessPendingMessages()) closing_ = true;
  return !closing_;
}
