#pragma once
// The file system as the core sees it (the names avoid the Windows API
// macros DeleteFile, MoveFile and CopyFile). Paths are ANSI Text formed by plain
// joining with "\"; the platform acts on exactly the file a path names (no
// stripping of trailing dots or spaces, no 260-character limit).

#include <cstdint>
#include <memory>
#include <vector>

#include "text/text.h"

// A file opened for positioned reads. The position may lie beyond the end;
// reads there give nothing.
class RandomAccessFile {
 public:
  virtual ~RandomAccessFile() = default;
  // The file's length in bytes.
  virtual std::int64_t Length() = 0;
  // Reads up to `n` bytes at `offset` into `buffer`; returns the number of
  // bytes read: fewer than `n` at the end of the file, 0 past it or on error.
  virtual std::int64_t ReadAt(std::int64_t offset, char* buffer, std::int64_t n) = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // True when a file or a folder exists at `path`.
  virtual bool Exists(const Text& path) = 0;

  // True when `path` is an ordinary file: not a folder, not a link or other
  // reparse point, not a device or pipe. Checked right before a file is
  // deleted or moved.
  virtual bool IsPlainFile(const Text& path) = 0;

  // The low 32 bits of the file's length, as a signed number; -1 when there
  // is no file at `path` (a folder counts as no file).
  virtual std::int32_t LengthOf(const Text& path) = 0;

  // Opens the file for reading only, sharing read, write and delete with
  // other processes. nullptr when it cannot be opened (missing, a folder,
  // locked, not an ordinary file).
  virtual std::unique_ptr<RandomAccessFile> OpenForReading(const Text& path) = 0;

  // The whole content of a file; false (and `content` empty) when it cannot
  // be read.
  virtual bool ReadWholeFile(const Text& path, std::string* content) = 0;

  // The names (without folder) of the entries of `folder` that are not
  // folders, hidden and system files included, in the platform's order.
  // False and no names when the folder cannot be listed.
  virtual bool ListFiles(const Text& folder, std::vector<Text>* names) = 0;

  // Deletes one file for good. True when it was deleted.
  virtual bool Delete(const Text& path) = 0;

  // Moves a file. First an ordinary move, which fails when `to` exists; when
  // it fails, a copy that replaces `to`, and after a successful copy a delete
  // of `from`. True only when the file now stands at `to` and no longer at
  // `from`.
  virtual bool Move(const Text& from, const Text& to) = 0;
};
