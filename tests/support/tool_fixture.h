#pragma once
// A game root in memory with its package.lst, a program folder, the shared
// state and a FakeView, wired into a Tool for the handlers.

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fake_view.h"
#include "memory_file_system.h"
#include "package_list_builder.h"
#include "shell/result_list.h"
#include "shell/shared_state.h"
#include "shell/tool.h"

class ToolFixture {
 public:
  static constexpr const char* kRoot = "C:\\Game";
  static constexpr const char* kProgram = "C:\\Tool";

  ToolFixture();

  // An official file: on disk with `content`, and listed with its size and
  // SHA-256 digest.
  void Official(const Text& folder, const Text& name, const std::string& content);
  // A record entry only (no file), with the digest of `listedContent`.
  void Listed(const Text& folder, const Text& name, std::int32_t size, const std::string& listedContent);
  // A file on disk only.
  void OnDisk(const Text& folder, const Text& name, const std::string& content,
              MemoryFileSystem::Attributes attributes = {});
  // Declares a record (possibly empty) in the order records are written.
  void Record(const Text& folder);

  // Writes package.lst from the records declared so far and chooses the
  // game root as the chooser does (GameDirectory and LoadIndex).
  void WriteListAndChooseRoot();

  void WriteSkipList(const std::string& bytes);

  // Picks the folder and the options, then runs StartScan.
  void Scan(const Text& folder, bool sizeOption = false, bool digestOption = false);

  Text PathOf(const Text& folder, const Text& name) const;

  MemoryFileSystem fs;
  FakeView view;
  std::unique_ptr<SharedState> state;
  ResultList results;
  Tool tool;

 private:
  std::vector<PackageListBuilder::Directory> records_;
  PackageListBuilder::Directory& RecordOf(const Text& folder);
};

// The SHA-256 digest bytes of a content.
std::string Sha256Bytes(const std::string& content);
