#pragma once
// The input of fuzz_scan, and how its bytes are split: pieces separated by
// the marker "\n=#=\n".
//
//   piece 0   flags: its first byte (see ScanInput::k...)
//   piece 1   package.lst
//   piece 2   Skip_Npk.ini (absent when the piece is empty)
//   then two pieces per pack folder entry: a header, whose first byte holds
//   the kind and attributes (see ScanFile::k...) and whose other bytes are
//   the name, and the content.
//
// A missing piece is empty. The seed maker writes inputs with EncodeScanInput.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view kScanInputMarker = "\n=#=\n";

struct ScanFile {
  static constexpr std::uint8_t kSoundPacks = 1;     // in SoundPacks, else in ImagePacks2
  static constexpr std::uint8_t kHidden = 2;
  static constexpr std::uint8_t kReadOnly = 4;
  static constexpr std::uint8_t kLocked = 8;         // held open by another program without sharing
  static constexpr std::uint8_t kLinkOutside = 16;   // a link to a file outside the game root
  static constexpr std::uint8_t kFolder = 32;        // a subfolder, not a file
  static constexpr std::uint8_t kInBackup = 64;      // a file of that name already in C:\Backup

  std::uint8_t kind = 0;
  std::string name;
  std::string content;
};

struct ScanInput {
  static constexpr std::uint8_t kScanSoundPacks = 1;  // scan SoundPacks, else ImagePacks2
  static constexpr std::uint8_t kBackupMode = 2;      // the cleanup moves into the backup folder
  static constexpr std::uint8_t kNoPackFolders = 4;   // the pack folders exist only where a file puts them
  static constexpr std::uint8_t kBackupInScanned = 8;  // the backup folder is the scanned pack folder itself
  static constexpr std::uint8_t kBackupInOther = 16;   // the backup folder is the other pack folder

  std::uint8_t flags = 0;
  std::string packageList;
  std::string skipList;
  std::vector<ScanFile> files;
};

// At most this many pack folder entries are taken from one input.
inline constexpr std::size_t kMaxScanFiles = 32;

ScanInput DecodeScanInput(std::string_view bytes);
std::string EncodeScanInput(const ScanInput& input);
