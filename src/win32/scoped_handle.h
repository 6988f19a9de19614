#pragma once
// Owners of Win32 handles: each handle is released exactly once, when its
// owner goes out of scope. Not copyable; movable.

#include <windows.h>

#include <utility>

template <typename Release>
class ScopedHandle {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
  ~ScopedHandle() { Reset(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
    }
    return *this;
  }

  // Both INVALID_HANDLE_VALUE (CreateFile, FindFirstFile) and nullptr
  // (most other calls) mean "no handle".
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE Get() const { return handle_; }

  void Reset() {
    if (Valid()) Release()(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

struct CloseKernelHandle {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct CloseFindHandle {
  void operator()(HANDLE handle) const { FindClose(handle); }
};

using FileHandle = ScopedHandle<CloseKernelHandle>;  // CreateFileW and other kernel objects
using FindHandle = ScopedHandle<CloseFindHandle>;    // FindFirstFileExW
