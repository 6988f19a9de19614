// The FileSystem contract against the in-memory double that the other unit
// tests stand on.

#include "file_system_contract.h"
#include "memory_file_system.h"

namespace {

class MemoryFixture : public FileSystemFixture {
 public:
  MemoryFixture() { fs_.AddFolder(Root()); }
  FileSystem& System() override { return fs_; }
  Text Root() override { return "C:\\Work"; }
  void MakeFolder(const Text& path) override { fs_.AddFolder(path); }
  void MakeFile(const Text& path, const std::string& content) override { fs_.AddFile(path, content); }
  void MakeHiddenFile(const Text& path, const std::string& content) override {
    fs_.AddFile(path, content, {.hidden = true});
  }
  void MakeReadOnlyFile(const Text& path, const std::string& content) override {
    fs_.AddFile(path, content, {.readOnly = true});
  }
  void HoldOpenWithoutSharing(const Text& path) override { fs_.SetAttributes(path, {.locked = true}); }
  bool HasFile(const Text& path) override { return fs_.HasFile(path); }
  std::string ContentOf(const Text& path) override { return fs_.Content(path); }

 private:
  MemoryFileSystem fs_;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, FileSystemContract, MemoryFixture);
