#pragma once
// The in-memory copy of what the tool knows of package.lst: the
// DirectoryIndex (every directory record's name and offset) and the
// EntryTable of one pack folder (names, sizes, digest texts).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "packagelist/package_list_reader.h"
#include "shell/file_system.h"
#include "shell/notifier.h"
#include "text/text.h"

class PackageCatalogue {
 public:
  PackageCatalogue() = default;
  PackageCatalogue(const PackageCatalogue&) = delete;
  PackageCatalogue& operator=(const PackageCatalogue&) = delete;

  // Reads the DirectoryIndex of `gameDirectory`\package.lst. Empties every
  // list first. Shows "LST文件不存在..请重新再选!!" when nothing of that name
  // exists, "LST文件非Orvane的文件列表文件..请重新选择!!" when it cannot be
  // opened or fails the magic test, and returns false for both.
  bool LoadIndex(FileSystem& fs, Notifier& notifier, const Text& gameDirectory);

  // Replaces the EntryTable with the entries of the directory at `position`
  // of the DirectoryIndex, read from `gameDirectory`\package.lst. False when
  // the file cannot be opened or the record ends before its last entry is
  // complete (the table then holds the complete entries read).
  bool LoadEntries(FileSystem& fs, const Text& gameDirectory, std::size_t position);

  const std::vector<DirectoryRecord>& DirectoryIndex() const { return directories_; }
  const std::vector<PackageEntry>& EntryTable() const { return entries_; }

  // Position of the first directory named exactly `name`, or -1.
  std::ptrdiff_t FindDirectory(const Text& name) const;

  void InsertEntry(std::size_t position, PackageEntry entry);
  void AppendEntry(PackageEntry entry) { entries_.push_back(std::move(entry)); }
  void SetEntryDigest(std::size_t position, Text digest) { entries_.at(position).digest = std::move(digest); }
  void ClearEntries() { entries_.clear(); }

  // Empties both the DirectoryIndex and the EntryTable.
  void Clear();

 private:
  std::vector<DirectoryRecord> directories_;
  std::vector<PackageEntry> entries_;
};

// The path of the list in a game root: the folder, "\" and "package.lst".
Text PackageListPath(const Text& gameDirectory);
