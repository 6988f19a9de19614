#include "scan_input.h"

namespace {

std::vector<std::string_view> Pieces(std::string_view bytes) {
  std::vector<std::string_view> pieces;
  for (;;) {
    const std::size_t marker = bytes.find(kScanInputMarker);
    pieces.push_back(bytes.substr(0, marker));
    if (marker == std::string_view::npos) return pieces;
    bytes.remove_prefix(marker + kScanInputMarker.size());
  }
}

}  // namespace

ScanInput DecodeScanInput(std::string_view bytes) {
  const std::vector<std::string_view> pieces = Pieces(bytes);
  auto piece = [&](std::size_t i) { return i < pieces.size() ? pieces[i] : std::string_view(); };
  ScanInput input;
  input.flags = piece(0).empty() ? 0 : static_cast<std::uint8_t>(piece(0)[0]);
  input.packageList = piece(1);
  input.skipList = piece(2);
  for (std::size_t i = 3; i < pieces.size() && input.files.size() < kMaxScanFiles; i += 2) {
    const std::string_view header = piece(i);
    ScanFile file;
    if (!header.empty()) {
      file.kind = static_cast<std::uint8_t>(header[0]);
      file.name = header.substr(1);
    }
    file.content = piece(i + 1);
    input.files.push_back(std::move(file));
  }
  return input;
}

std::string EncodeScanInput(const ScanInput& input) {
  std::string bytes(1, static_cast<char>(input.flags));
  auto add = [&](std::string_view piece) {
    bytes += kScanInputMarker;
    bytes += piece;
  };
  add(input.packageList);
  add(input.skipList);
  for (const ScanFile& file : input.files) {
    add(std::string(1, static_cast<char>(file.kind)) + file.name);
    add(file.content);
  }
  return bytes;
}
