#pragma once
// Hashes files ahead of the scan on worker threads. Jobs are started in
// order, at most `lookahead` ahead of the last one taken, so memory stays
// flat (one read buffer per worker) however many files there are. The scan's
// thread takes the results in the same order.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "scan/file_digest.h"
#include "shell/file_system.h"
#include "text/text.h"

class DigestPool {
 public:
  // `wake` runs on a worker thread each time a job is done; it must be safe
  // to call from any thread.
  DigestPool(FileSystem& fs, std::vector<Text> paths, unsigned workers, std::size_t lookahead,
             std::function<void()> wake);
  // Stops the workers (a file being read is abandoned between chunks) and
  // joins them.
  ~DigestPool();
  DigestPool(const DigestPool&) = delete;
  DigestPool& operator=(const DigestPool&) = delete;

  // The SHA-256 text of job `index` once it is done, or nothing yet. Jobs
  // are taken in increasing order, each once.
  std::optional<Text> TryTake(std::size_t index);

  std::size_t Size() const { return paths_.size(); }

  // The number of workers for this machine: one per core.
  static unsigned DefaultWorkers();

 private:
  void Work();

  FileSystem& fs_;
  const std::vector<Text> paths_;
  const std::size_t lookahead_;
  const std::function<void()> wake_;

  std::mutex mutex_;
  std::condition_variable room_;  // a job may start
  std::vector<std::optional<Text>> results_;
  std::size_t next_ = 0;   // the next job to start
  std::size_t taken_ = 0;  // every job below this one has been taken
  std::atomic<bool> stop_{false};
  std::vector<std::thread> threads_;
};
