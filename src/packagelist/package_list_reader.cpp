#include "packagelist/package_list_reader.h"

#include <algorithm>

namespace {
constexpr std::int64_t kMagicOffset = 32;
constexpr std::int64_t kFirstRecordOffset = 40;
constexpr std::int64_t kTrailerSize = 8;

std::int32_t LengthOrFour(std::int32_t length) { return length == 0 ? 4 : length; }
}  // namespace

PackageListReader::PackageListReader(RandomAccessFile& file)
    : file_(file), length_(std::max<std::int64_t>(file.Length(), 0)) {}

std::int32_t PackageListReader::ReadInt32() {
  unsigned char bytes[4] = {0, 0, 0, 0};
  std::int64_t got = 0;
  if (position_ >= 0 && position_ < length_) {
    got = file_.ReadAt(position_, reinterpret_cast<char*>(bytes), 4);
    if (got < 0) got = 0;
  }
  if (got < 4) short_read_ = true;
  position_ += got;
  std::uint32_t value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                        static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
  return static_cast<std::int32_t>(value);
}

std::string PackageListReader::ReadRun(std::int64_t n) {
  std::string run;
  if (n <= 0) return run;
  std::int64_t left = (position_ >= 0 && position_ < length_) ? length_ - position_ : 0;
  std::int64_t wanted = std::min(n, left);
  if (wanted > 0) {
    run.resize(static_cast<std::size_t>(wanted));
    std::int64_t got = file_.ReadAt(position_, run.data(), wanted);
    if (got < 0) got = 0;
    run.resize(static_cast<std::size_t>(got));
    position_ += got;
  }
  if (static_cast<std::int64_t>(run.size()) < n) short_read_ = true;
  return run;
}

Text PackageListReader::ReadStoredText(std::int64_t n) {
  std::string run = ReadRun(n);
  std::size_t zero = run.find('\0');
  if (zero != std::string::npos) run.resize(zero);
  return run;
}

bool PackageListReader::Skip(std::int64_t n) {
  if (n < 0) return false;
  position_ += n;
  return true;
}

bool HasPackageListMagic(PackageListReader& reader) {
  reader.SetPosition(kMagicOffset);
  return reader.ReadStoredText(4) == "LST";
}

std::vector<DirectoryRecord> WalkDirectoryRecords(PackageListReader& reader) {
  std::vector<DirectoryRecord> records;
  reader.SetPosition(kFirstRecordOffset);
  const std::int64_t end = reader.Length();
  while (reader.Position() < end - kTrailerSize) {
    DirectoryRecord record;
    record.offset = reader.Position();
    record.name = reader.ReadStoredText(LengthOrFour(reader.ReadInt32()));
    records.push_back(std::move(record));

    bool damaged = false;
    const std::int32_t count = reader.ReadInt32();
    // Past the end every further entry reads as zeros and the walk would stop
    // at the end rule anyway, so a huge count costs nothing.
    for (std::int32_t i = 0; i < count && reader.Position() < end; ++i) {
      const std::int64_t name_length = reader.ReadInt32();
      if (!reader.Skip(name_length + 8)) { damaged = true; break; }
      if (!reader.Skip(reader.ReadInt32())) { damaged = true; break; }
    }
    if (damaged || !reader.Skip(4)) break;
  }
  return records;
}

bool ReadDirectoryEntries(PackageListReader& reader, std::int64_t offset,
                          std::vector<PackageEntry>* entries) {
  reader.SetPosition(offset);
  if (!reader.Skip(LengthOrFour(reader.ReadInt32()))) return false;
  const std::int32_t count = reader.ReadInt32();
  if (reader.ShortRead()) return false;
  for (std::int32_t i = 0; i < count; ++i) {
    PackageEntry entry;
    entry.name = reader.ReadStoredText(reader.ReadInt32());
    entry.size = reader.ReadInt32();
    reader.Skip(4);
    entry.digest = HexText(reader.ReadRun(reader.ReadInt32()));
    // An entry that runs past the end is incomplete; so is every one after it.
    if (reader.ShortRead() || reader.Position() > reader.Length()) return false;
    entries->push_back(std::move(entry));
  }
  return true;
}
