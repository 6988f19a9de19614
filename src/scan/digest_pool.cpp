#include "scan/digest_pool.h"

#include <algorithm>

#include "scan/file_reading.h"

DigestPool::DigestPool(FileSystem& fs, std::vector<Text> paths, unsigned workers, std::size_t lookahead,
                       std::function<void()> wake)
    : fs_(fs),
      paths_(std::move(paths)),
      lookahead_(std::max<std::size_t>(lookahead, 1)),
      wake_(std::move(wake)),
      results_(paths_.size()) {
  const unsigned count = static_cast<unsigned>(std::min<std::size_t>(std::max(workers, 1u), paths_.size()));
  threads_.reserve(count);
  for (unsigned i = 0; i < count; ++i) threads_.emplace_back([this] { Work(); });
}

DigestPool::~DigestPool() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  room_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

unsigned DigestPool::DefaultWorkers() { return std::max(std::thread::hardware_concurrency(), 1u); }

std::optional<Text> DigestPool::TryTake(std::size_t index) {
  std::optional<Text> result;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (index >= results_.size() || !results_[index]) return std::nullopt;
    result = std::move(results_[index]);
    results_[index].reset();
    taken_ = std::max(taken_, index + 1);
  }
  room_.notify_all();
  return result;
}

void DigestPool::Work() {
  std::vector<char> buffer;  // one per worker, for every file it reads
  for (;;) {
    std::size_t job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      room_.wait(lock, [this] { return stop_ || next_ >= paths_.size() || next_ < taken_ + lookahead_; });
      if (stop_ || next_ >= paths_.size()) return;
      job = next_++;
    }
    Text digest = DigestOfFile(fs_, paths_[job], kSha256, [this] { return !stop_; }, buffer);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stop_) return;
      results_[job] = std::move(digest);
    }
    if (wake_) wake_();
  }
}
