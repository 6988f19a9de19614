#include "package_list_builder.h"

PackageListBuilder::PackageListBuilder() {
  bytes_.assign(32, 'H');
  bytes_ += std::string("LST\0", 4);
  bytes_ += std::string(4, 'h');
}

PackageListBuilder& PackageListBuilder::Int32(std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<char>((v >> shift) & 0xFF));
  return *this;
}

PackageListBuilder& PackageListBuilder::Bytes(const std::string& bytes) {
  bytes_ += bytes;
  return *this;
}

PackageListBuilder& PackageListBuilder::Counted(const std::string& bytes) {
  Int32(static_cast<std::int32_t>(bytes.size()));
  return Bytes(bytes);
}

PackageListBuilder& PackageListBuilder::Record(const Directory& directory) {
  Counted(directory.name);
  Int32(static_cast<std::int32_t>(directory.entries.size()));
  for (const Entry& entry : directory.entries) {
    Counted(entry.name);
    Int32(entry.size);
    Int32(0x454E5452);  // the entry word, not interpreted
    Counted(entry.digest);
  }
  return Int32(0x54524C52);  // the trailing word, not interpreted
}

PackageListBuilder& PackageListBuilder::Trailer() { return Bytes("TRAILER!"); }

std::string PackageListBuilder::File(const std::vector<Directory>& directories) {
  PackageListBuilder builder;
  for (const Directory& directory : directories) builder.Record(directory);
  return builder.Trailer().Build();
}

std::string BytesFromHex(const std::string& hex) {
  auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
  };
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<char>(nibble(hex[i]) << 4 | nibble(hex[i + 1])));
  }
  return bytes;
}
