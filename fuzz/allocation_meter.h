#pragma once
// The peak of the bytes allocated while a meter runs, seen through the
// sanitizer allocator's hooks (the fuzz targets run under ASan). Blocks
// freed during the run that were allocated before it only lower the count,
// so the peak is never overstated.

#include <sanitizer/allocator_interface.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace allocation_meter {

inline std::atomic<bool> running{false};
inline std::atomic<std::int64_t> live{0};
inline std::atomic<std::int64_t> peak{0};

inline void OnMalloc(const volatile void*, std::size_t size) {
  if (!running.load(std::memory_order_relaxed)) return;
  const std::int64_t now = live.fetch_add(static_cast<std::int64_t>(size)) + static_cast<std::int64_t>(size);
  std::int64_t seen = peak.load();
  while (now > seen && !peak.compare_exchange_weak(seen, now)) {
  }
}

inline void OnFree(const volatile void* block) {
  if (!running.load(std::memory_order_relaxed) || block == nullptr) return;
  live.fetch_sub(static_cast<std::int64_t>(__sanitizer_get_allocated_size(const_cast<const void*>(block))));
}

// Installs the hooks; call once, from LLVMFuzzerInitialize.
inline void Install() { __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree); }

inline void Start() {
  live = 0;
  peak = 0;
  running = true;
}

// The peak since Start, in bytes.
inline std::int64_t Stop() {
  running = false;
  return peak.load();
}

}  // namespace allocation_meter
