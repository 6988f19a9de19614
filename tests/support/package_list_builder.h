#pragma once
// Builds package.lst bytes for tests, fuzz seeds, benchmarks and demo roots.

#include <cstdint>
#include <string>
#include <vector>

class PackageListBuilder {
 public:
  struct Entry {
    std::string name;
    std::int32_t size = 0;
    std::string digest;  // raw bytes
  };
  struct Directory {
    std::string name;
    std::vector<Entry> entries;
  };

  // The 40-byte header with the magic "LST\0" at offset 32.
  PackageListBuilder();

  // Raw pieces, for damaged or unusual files.
  PackageListBuilder& Int32(std::int32_t value);
  PackageListBuilder& Bytes(const std::string& bytes);
  // A counted name: its length, then its bytes.
  PackageListBuilder& Counted(const std::string& bytes);

  // A whole directory record, the trailing word included.
  PackageListBuilder& Record(const Directory& directory);
  // The 8-byte trailer.
  PackageListBuilder& Trailer();

  std::string Build() const { return bytes_; }
  std::size_t Size() const { return bytes_.size(); }

  // A complete file: the header, the records and the trailer.
  static std::string File(const std::vector<Directory>& directories);

 private:
  std::string bytes_;
};

// The raw SHA-256 digest bytes written as the tests' fixtures expect them,
// from the 64-character hex text.
std::string BytesFromHex(const std::string& hex);
