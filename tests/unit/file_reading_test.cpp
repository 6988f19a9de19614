#include "scan/file_reading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "memory_file_system.h"

namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;
const Text kPath = "C:\\Game\\ImagePacks2\\A.NPK";

std::string PseudoRandomBytes(std::size_t size) {
  std::mt19937 generator(7);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(generator());
  return bytes;
}

bool KeepGoing() { return true; }

// A file system whose files read only their first `readable` bytes, as a
// file that shrinks or fails while it is read.
class FailingReadsFileSystem : public MemoryFileSystem {
 public:
  explicit FailingReadsFileSystem(std::int64_t readable) : readable_(readable) {}
  std::unique_ptr<RandomAccessFile> OpenForReading(const Text& path) override {
    std::unique_ptr<RandomAccessFile> file = MemoryFileSystem::OpenForReading(path);
    return file ? std::make_unique<CutFile>(std::move(file), readable_) : nullptr;
  }

 private:
  class CutFile : public RandomAccessFile {
   public:
    CutFile(std::unique_ptr<RandomAccessFile> file, std::int64_t readable)
        : file_(std::move(file)), readable_(readable) {}
    std::int64_t Length() override { return file_->Length(); }
    std::int64_t ReadAt(std::int64_t offset, char* buffer, std::int64_t n) override {
      return offset >= readable_ ? 0 : file_->ReadAt(offset, buffer, std::min(n, readable_ - offset));
    }

   private:
    std::unique_ptr<RandomAccessFile> file_;
    std::int64_t readable_;
  };
  std::int64_t readable_;
};

TEST(DigestOfFile, EqualsTheDigestOfTheWholeContent) {
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, kMiB, kMiB + 1, 3 * kMiB + 5}) {
    SCOPED_TRACE(size);
    const std::string content = PseudoRandomBytes(size);
    MemoryFileSystem fs;
    fs.AddFile(kPath, content);
    EXPECT_EQ(DigestOfFile(fs, kPath, kSha256, KeepGoing), FileDigest(content, kSha256));
  }
}

// One buffer serves file after file: a large file grows it to one chunk,
// and later files, larger or smaller, read through it as it is.
TEST(DigestOfFile, ReusesTheCallersBufferUpToOneChunk) {
  MemoryFileSystem fs;
  const std::string contents[] = {PseudoRandomBytes(10), PseudoRandomBytes(3 * kMiB + 5), PseudoRandomBytes(100)};
  std::vector<char> buffer;
  for (const std::string& content : contents) {
    fs.AddFile(kPath, content);
    EXPECT_EQ(DigestOfFile(fs, kPath, kSha256, KeepGoing, buffer), FileDigest(content, kSha256));
  }
  EXPECT_EQ(buffer.size(), kMiB);
}

TEST(DigestOfFile, UnreadableFileIsJudgedAsEmpty) {
  const Text emptyDigest = FileDigest("", kSha256);
  const std::string content = PseudoRandomBytes(2 * kMiB + 1);
  struct Case {
    const char* what;
    std::function<std::unique_ptr<MemoryFileSystem>()> make;
  };
  const Case cases[] = {
      {"missing", [] { return std::make_unique<MemoryFileSystem>(); }},
      {"a folder",
       [] {
         auto fs = std::make_unique<MemoryFileSystem>();
         fs->AddFolder(kPath);
         return fs;
       }},
      {"held open without sharing",
       [&] {
         auto fs = std::make_unique<MemoryFileSystem>();
         fs->AddFile(kPath, content, {.locked = true});
         return fs;
       }},
      {"length larger than what can be read",
       [] {
         auto fs = std::make_unique<MemoryFileSystem>();
         fs->AddFileWithLength(kPath, 5 * std::int64_t{kMiB});
         return fs;
       }},
      {"read fails after the first chunk",
       [&] {
         std::unique_ptr<MemoryFileSystem> fs = std::make_unique<FailingReadsFileSystem>(kMiB + 10);
         fs->AddFile(kPath, content);
         return fs;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(DigestOfFile(*c.make(), kPath, kSha256, KeepGoing), emptyDigest);
  }
}

TEST(DigestOfFile, CallbackRunsAfterEveryChunkAndCanStop) {
  const std::string content = PseudoRandomBytes(3 * kMiB + 1);  // four chunks
  MemoryFileSystem fs;
  fs.AddFile(kPath, content);

  int calls = 0;
  EXPECT_EQ(DigestOfFile(fs, kPath, kSha256, [&] { return ++calls, true; }), FileDigest(content, kSha256));
  EXPECT_EQ(calls, 4);

  // Stopped after the second chunk: nothing more is read and no digest made.
  calls = 0;
  const std::int64_t readBefore = fs.BytesRead();
  EXPECT_EQ(DigestOfFile(fs, kPath, kSha256, [&] { return ++calls < 2; }), "");
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(fs.BytesRead() - readBefore, 2 * std::int64_t{kMiB});
}

}  // namespace
