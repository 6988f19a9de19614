#pragma once
// Game roots and other fixtures on the real disk (drive C of the Wine
// prefix, where the folder browser can reach them). Paths and names are
// ANSI bytes of the running code page, as the tool itself sees them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "text/text.h"

// Whole-file helpers on ANSI paths.
bool WriteBytes(const Text& path, const std::string& bytes);
std::optional<std::string> ReadBytes(const Text& path);  // nothing when missing or unreadable
bool IsFile(const Text& path);
bool MakeFolders(const Text& path);
// Removes a folder and everything below it; true when it is gone.
bool RemoveTree(const Text& path);
std::wstring Wide(const Text& ansi);

// Content that differs with `seed` and stays the same from run to run.
std::string ContentOf(const std::string& seed, std::size_t bytes);

class GameRoot {
 public:
  explicit GameRoot(Text path) : path_(std::move(path)) {}

  const Text& Path() const { return path_; }
  Text PathOf(const Text& folder, const Text& name) const { return JoinPath(JoinPath(path_, folder), name); }

  // A file listed in the folder's record with the size and SHA-256 digest of
  // `listed`, lying on disk with `onDisk` (the listed content by default).
  GameRoot& Official(const Text& folder, const Text& name, const std::string& listed,
                     std::optional<std::string> onDisk = std::nullopt);
  // A file on disk that the record does not list.
  GameRoot& Unofficial(const Text& folder, const Text& name, const std::string& content);
  // `count` listed files named `prefix`N.NPK with the same content: hard
  // links of one file, so that gigabytes for a long digest scan cost one
  // file's room on disk and in the page cache.
  GameRoot& OfficialCopies(const Text& folder, const Text& prefix, int count, const std::string& content);
  // A record for `folder` even if it lists nothing; records are written in
  // the order their folders first appear.
  GameRoot& Record(const Text& folder);

  // Writes the folders, the files and package.lst. False on any failure.
  bool Write() const;
  // Writes the folders and files only (no package.lst).
  bool WriteWithoutList() const;

 private:
  struct Listing {
    std::int32_t size;
    std::string digest;  // raw bytes
  };
  struct File {
    Text folder;
    Text name;
    std::string onDisk;
    Text linkOf;                     // when set, a hard link of this earlier file instead of onDisk
    std::optional<Listing> listing;  // nothing: not in the record
  };
  static Listing ListingOf(const std::string& content);
  std::string ListBytes() const;
  bool WriteFiles() const;

  Text path_;
  std::vector<Text> folders_;
  std::vector<File> files_;
};
