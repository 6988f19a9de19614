// Writes the seed corpora of the fuzz targets: make_seeds FOLDER creates
// FOLDER/fuzz_package_list, FOLDER/fuzz_skip_list and FOLDER/fuzz_scan with
// a few inputs each, built here (package.lst through PackageListBuilder).

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "package_list_builder.h"
#include "scan/file_digest.h"
#include "scan_input.h"

namespace {

using Directory = PackageListBuilder::Directory;

std::string Sha256(const std::string& content) { return BytesFromHex(FileDigest(content, kSha256)); }

std::vector<std::string> PackageLists() {
  std::vector<std::string> lists;
  lists.push_back(PackageListBuilder::File({
      {"ImagePacks2", {{"sprite_a.NPK", 5, Sha256("aaaaa")}, {"sprite_b.NPK", 3, Sha256("bbb")}}},
      {"SoundPacks", {{"sound_a.NPK", 2, Sha256("sa")}}},
  }));
  lists.push_back(PackageListBuilder::File({{"SoundPacks", {}}, {"ImagePacks2", {{"", -1, ""}}}}));
  lists.push_back(PackageListBuilder::File({}));
  // Unusual but well-formed: a zero name length, a counted zero, a negative count.
  PackageListBuilder odd;
  odd.Int32(0).Bytes("ABCD").Int32(0).Int32(0);
  odd.Counted(std::string("SoundPacks\0", 11)).Int32(-2).Int32(0);
  odd.Record({"ImagePacks2", {{std::string("x.NPK\0y", 7), 1, "\x00\x0F\xA0"}}});
  lists.push_back(odd.Trailer().Build());
  // Damaged: a length that would move backwards, a huge count, a cut record.
  PackageListBuilder backwards;
  backwards.Counted("ImagePacks2").Int32(1).Int32(-100).Int32(0).Int32(0).Int32(0).Record({"SoundPacks", {}});
  lists.push_back(backwards.Trailer().Build());
  lists.push_back(PackageListBuilder().Counted("ImagePacks2").Int32(0x7FFFFFFF).Counted("a.NPK").Build());
  const std::string whole = lists[0];
  lists.push_back(whole.substr(0, whole.size() - 30));
  return lists;
}

std::vector<std::string> SkipLists() {
  return {
      "[ImagePacks2]\r\nkept.NPK=1\r\nsprite_b.NPK=1\r\n[SoundPacks]\r\nsound_kept.NPK=1\r\n",
      "[SoundPacks]\r\n\xB2[.NPK=1\r\n\xD6\xD0\xCE\xC4.NPK=\r\n=x\r\n\r\n; c=d\r\n[Other]\r\nz=1",
      "\xEF\xBB\xBF[ImagePacks2]\nA=1\nB=1\n[ImagePacks2]\r\nC=1\rD=1\r\n",
      "x=1 [ImagePacks2]X.NPK=1\r\n..\\..\\Tool\\Skip_Npk.ini=1\r\nsub\\y.NPK=1",
  };
}

std::vector<std::string> ScanInputs() {
  auto file = [](std::uint8_t kind, std::string name, std::string content) {
    return ScanFile{kind, std::move(name), std::move(content)};
  };
  ScanInput plain;
  plain.packageList = PackageListBuilder::File({
      {"ImagePacks2", {{"sprite_a.NPK", 5, Sha256("aaaaa")}, {"sprite_b.NPK", 3, Sha256("bbb")}, {"last.NPK", 1, Sha256("l")}}},
      {"SoundPacks", {{"sound_a.NPK", 2, Sha256("sa")}}},
  });
  plain.skipList = "[ImagePacks2]\r\nkept.NPK=1\r\nsprite_b.NPK=1\r\nmissing.NPK=1\r\n[SoundPacks]\r\nsound_kept.NPK=1\r\n";
  plain.files = {
      file(0, "sprite_a.NPK", "aaaaa"),          // official
      file(0, "sprite_b.NPK", "BBB"),            // same size, other content
      file(0, "last.NPK", "longer"),             // other size
      file(0, "kept.NPK", "my own"),             // skipped
      file(0, "patch.NPK", "unofficial"),
      file(0, "sprite_a.npk", "aaaaa"),          // letter case differs
      file(ScanFile::kHidden, ".hidden", "h"),
      file(ScanFile::kFolder, "subfolder", ""),
      file(ScanFile::kSoundPacks, "sound_a.NPK", "sa"),
      file(ScanFile::kSoundPacks, "sound_kept.NPK", "mine"),
  };

  ScanInput hostile = plain;
  hostile.flags = ScanInput::kBackupMode;
  hostile.files = {
      file(ScanFile::kLocked, "sprite_a.NPK", "aaaaa"),
      file(ScanFile::kReadOnly, "patch.NPK", "read-only"),
      file(ScanFile::kLinkOutside, "link.NPK", ""),
      file(ScanFile::kInBackup, "moved.NPK", "replaces an older backup"),
      file(0, "trailing. ", "dot and space"),
      file(0, "trailing", "without"),
      file(0, "\x95\x5C.NPK", "GBK trail byte 0x5C"),
      file(0, std::string(300, 'n'), "long name"),
  };

  ScanInput sound = plain;
  sound.flags = ScanInput::kScanSoundPacks;

  ScanInput noFolders = plain;
  noFolders.flags = ScanInput::kNoPackFolders | ScanInput::kBackupMode;
  noFolders.packageList = PackageListBuilder::File({{"SoundPacks", {}}});

  ScanInput notAList = plain;
  notAList.packageList = "not a package list";

  // Moves onto themselves, and into the other pack folder over its files.
  ScanInput intoScanned = plain;
  intoScanned.flags = ScanInput::kBackupMode | ScanInput::kBackupInScanned;
  ScanInput intoOther = plain;
  intoOther.flags = ScanInput::kBackupMode | ScanInput::kBackupInOther;
  intoOther.files.push_back(file(ScanFile::kSoundPacks, "patch.NPK", "replaced by the moved patch"));
  intoOther.files.push_back(file(ScanFile::kSoundPacks | ScanFile::kFolder, "sprite_a.npk", ""));

  std::vector<std::string> inputs;
  for (const ScanInput* input : {&plain, &hostile, &sound, &noFolders, &notAList, &intoScanned, &intoOther}) {
    inputs.push_back(EncodeScanInput(*input));
  }
  return inputs;
}

bool WriteAll(const std::filesystem::path& folder, const std::vector<std::string>& seeds) {
  std::filesystem::create_directories(folder);
  for (std::size_t i = 0; i < seeds.size(); ++i) {
    std::ofstream out(folder / ("seed_" + std::to_string(i)), std::ios::binary);
    out.write(seeds[i].data(), static_cast<std::streamsize>(seeds[i].size()));
    if (!out) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: fuzz_make_seeds FOLDER\n";
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const bool ok = WriteAll(folder / "fuzz_package_list", PackageLists()) &&
                  WriteAll(folder / "fuzz_skip_list", SkipLists()) && WriteAll(folder / "fuzz_scan", ScanInputs());
  if (!ok) std::cerr << "fuzz_make_seeds: cannot write under " << folder << "\n";
  return ok ? 0 : 1;
}
