#pragma once
// A file system in memory for tests: files with content and attributes,
// folders, links, and failures injected per operation and path. Safe to use
// from several threads (the scan reads files on worker threads).

#include <cstdint>
#include <map>
#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "shell/file_system.h"

struct MemoryFileAttributes {
  bool hidden = false;
  bool readOnly = false;
  bool locked = false;  // held open by another program without sharing
};

class MemoryFileSystem : public FileSystem {
 public:
  enum class Op { Exists, IsPlainFile, LengthOf, Open, ReadWhole, List, Delete, Rename, Copy };

  using Attributes = MemoryFileAttributes;

  // Adds (or replaces) a file; its parent folders are created.
  void AddFile(const Text& path, std::string content, Attributes attributes = {});
  // A file whose reported length is `length` (for sizes of 4 GiB and more);
  // its content is empty.
  void AddFileWithLength(const Text& path, std::int64_t length);
  void AddFolder(const Text& path);
  // A symbolic link to `target`: listed like a file, read through, but not a
  // plain file.
  void AddLink(const Text& path, const Text& target);
  void SetAttributes(const Text& path, Attributes attributes);
  void Remove(const Text& path);

  bool HasFile(const Text& path) const;
  bool HasFolder(const Text& path) const;
  std::string Content(const Text& path) const;
  // Every path below `folder` (files, folders, links), sorted.
  std::vector<Text> PathsUnder(const Text& folder) const;

  // Makes every call of `op` fail; with a path, only the calls on that path.
  void Fail(Op op, const Text& path = Text());
  void ClearFailures() { failures_.clear(); }

  // Bytes handed out by reads of opened files, and the number of calls per
  // operation, for the benchmarks and for tests that check what was touched.
  std::int64_t BytesRead() const { return bytes_read_->load(); }
  int Calls(Op op) const;
  // Every delete and move asked for, in order: "delete PATH", "move FROM > TO".
  const std::vector<Text>& Journal() const { return journal_; }

  // FileSystem
  bool Exists(const Text& path) override;
  bool IsPlainFile(const Text& path) override;
  std::int32_t LengthOf(const Text& path) override;
  std::unique_ptr<RandomAccessFile> OpenForReading(const Text& path) override;
  bool ReadWholeFile(const Text& path, std::string* content) override;
  bool ListFiles(const Text& folder, std::vector<Text>* names) override;
  bool Delete(const Text& path) override;
  bool Move(const Text& from, const Text& to) override;

  // Runs of "\" become one, as the platform treats them.
  static Text Normalise(const Text& path);

 private:
  enum class Kind { File, Folder, Link };
  struct Node {
    Kind kind = Kind::File;
    std::shared_ptr<std::string> content = std::make_shared<std::string>();
    std::int64_t length = -1;  // when >= 0, overrides content's size
    Text target;               // of a link
    Attributes attributes;
  };

  bool Failing(Op op, const Text& path);
  Node* Find(const Text& path);
  const Node* Find(const Text& path) const;
  // A link's target node, or the node itself.
  Node* Resolve(const Text& path);
  void MakeParents(const Text& path);

  std::map<Text, Node> nodes_;
  std::set<std::pair<Op, Text>> failures_;
  std::map<Op, int> calls_;
  std::vector<Text> journal_;
  std::shared_ptr<std::atomic<std::int64_t>> bytes_read_ = std::make_shared<std::atomic<std::int64_t>>(0);
  mutable std::recursive_mutex mutex_;
};
