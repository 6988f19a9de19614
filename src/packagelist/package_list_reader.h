#pragma once
// Reading package.lst: the primitive reads, the magic test, the walk of the
// directory records (index pass) and the reading of one record's entries
// (entries pass).
//
// Layout as read: a 40-byte header with the magic "LST" at offset 32, then
// directory records back to back, then an 8-byte trailer. A record is a
// name length (0 means 4), the name, an entry count, the entries and a
// 4-byte trailing word. An entry is a name length, the name, the size, a
// 4-byte word, a digest length and the digest bytes. Every number is a
// little-endian int32.

#include <cstdint>
#include <vector>

#include "shell/file_system.h"
#include "text/text.h"

struct DirectoryRecord {
  Text name;
  std::int64_t offset = 0;  // where the record's name length stands
};

struct PackageEntry {
  Text name;
  std::int32_t size = 0;
  Text digest;  // upper-case hex text of the stored digest bytes
};

// The primitive reads over an open file. The position may move past the
// end; reads there give nothing. Every read is made at exactly the bytes it
// needs, so a skip never reads the bytes it passes over.
class PackageListReader {
 public:
  explicit PackageListReader(RandomAccessFile& file);

  std::int64_t Position() const { return position_; }
  std::int64_t Length() const { return length_; }
  void SetPosition(std::int64_t position) { position_ = position; }

  // 4 bytes as a little-endian int32; fewer bytes at the end are the
  // low-order bytes, and at or past the end it reads 0. The position moves
  // past the bytes actually read.
  std::int32_t ReadInt32();

  // A run of `n` bytes as stored text: the bytes before the first zero byte.
  // Nothing is read for n <= 0; a run cut short by the end gives what is
  // there. Never allocates more than the bytes left in the file.
  Text ReadStoredText(std::int64_t n);

  // Raw bytes of a run, as above but with zero bytes kept.
  std::string ReadRun(std::int64_t n);

  // Moves the position by `n`. False, and no move, when `n` is negative:
  // only a damaged file asks for that, and moving back could loop forever.
  bool Skip(std::int64_t n);

  // True once a read came back with fewer bytes than it asked for.
  bool ShortRead() const { return short_read_; }

 private:
  RandomAccessFile& file_;
  std::int64_t length_;
  std::int64_t position_ = 0;
  bool short_read_ = false;
};

// The magic test: offset 32 holds the stored text "LST".
bool HasPackageListMagic(PackageListReader& reader);

// The index pass, after a passed magic test: every directory record's name
// and offset, in file order. Entries are passed over without being read. The
// walk ends at the trailer (no record begins in the last 8 bytes), at the end
// of the file, or where a damaged length would move backwards.
std::vector<DirectoryRecord> WalkDirectoryRecords(PackageListReader& reader);

// The entries pass: the entries of the record at `offset`, in file order.
// False when the record ends before its last entry is complete, or holds a
// length that cannot be right; `entries` then holds the complete entries read.
bool ReadDirectoryEntries(PackageListReader& reader, std::int64_t offset,
                          std::vector<PackageEntry>* entries);
