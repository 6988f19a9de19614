// Hashing ahead of the scan on worker threads.

#include "scan/digest_pool.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "memory_file_system.h"
#include "scan/file_digest.h"
#include "tool_fixture.h"

namespace {

std::string ContentOf(int i) { return std::string(static_cast<std::size_t>(i) * 997 + (i % 3) * (1 << 20), 'a' + i % 26); }

Text Await(DigestPool& pool, std::size_t job) {
  for (;;) {
    if (auto digest = pool.TryTake(job)) return *digest;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
}

TEST(DigestPool, GivesEveryDigestInJobOrder) {
  MemoryFileSystem fs;
  std::vector<Text> paths;
  for (int i = 0; i < 12; ++i) {
    paths.push_back("C:\\p\\" + std::to_string(i));
    fs.AddFile(paths.back(), ContentOf(i));
  }
  paths.push_back("C:\\p\\missing");  // judged as empty
  for (unsigned workers : {1u, 2u, 5u}) {
    for (std::size_t lookahead : {1u, 3u}) {
      DigestPool pool(fs, paths, workers, lookahead, nullptr);
      for (std::size_t j = 0; j < 12; ++j) {
        EXPECT_EQ(Await(pool, j), FileDigest(ContentOf(static_cast<int>(j)), kSha256)) << workers << " " << j;
      }
      EXPECT_EQ(Await(pool, 12), FileDigest("", kSha256));
      EXPECT_FALSE(pool.TryTake(13).has_value());
    }
  }
}

TEST(DigestPool, StartsNoMoreThanTheLookAheadBeyondWhatWasTaken) {
  MemoryFileSystem fs;
  std::vector<Text> paths;
  for (int i = 0; i < 10; ++i) {
    paths.push_back("C:\\p\\" + std::to_string(i));
    fs.AddFile(paths.back(), "x");
  }
  DigestPool pool(fs, paths, 4, 2, nullptr);
  auto opened = [&] { return fs.Calls(MemoryFileSystem::Op::Open); };
  while (opened() < 2) std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(opened(), 2);
  Await(pool, 0);
  while (opened() < 3) std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(opened(), 3);
}

TEST(DigestPool, StopsAndJoinsWithWorkPending) {
  MemoryFileSystem fs;
  std::vector<Text> paths;
  for (int i = 0; i < 8; ++i) {
    paths.push_back("C:\\big\\" + std::to_string(i));
    fs.AddFile(paths.back(), std::string(8 << 20, 'b'));
  }
  int wakes = 0;
  std::mutex m;
  {
    DigestPool pool(fs, paths, 2, 8, [&] {
      std::lock_guard<std::mutex> lock(m);
      ++wakes;
    });
    Await(pool, 0);
  }  // destroyed with jobs running and waiting: must return
  // Abandoned files were not read to their end.
  EXPECT_LT(fs.BytesRead(), 8 * (std::int64_t{8} << 20));
}

// A file that changes or vanishes while the workers are ahead is judged as
// it was when read; the scan itself goes on.
TEST(DigestPool, ScanSurvivesFilesChangingUnderTheWorkers) {
  ToolFixture f;
  for (int i = 0; i < 30; ++i) f.Official("ImagePacks2", "f" + std::to_string(10 + i) + ".NPK", ContentOf(i));
  f.WriteListAndChooseRoot();
  int pumps = 0;
  f.view.onPump = [&] {
    if (++pumps == 2) {
      f.fs.Remove(f.PathOf("ImagePacks2", "f20.NPK"));
      f.fs.SetAttributes(f.PathOf("ImagePacks2", "f30.NPK"), {.locked = true});
    }
    return true;
  };
  f.Scan("ImagePacks2", false, true);
  for (const auto& row : f.view.rows) {
    EXPECT_TRUE(row.name == "f20.NPK" || row.name == "f30.NPK") << row.name;
    EXPECT_EQ(row.verdict, ui::kVerdictDigest);
  }
  ASSERT_EQ(f.view.messages.size(), 1u);
}

}  // namespace
