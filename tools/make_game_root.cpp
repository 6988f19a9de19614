// Writes a demo (or benchmark-sized) Orvane game root: package.lst with the
// records of ImagePacks2 and SoundPacks, the two pack folders holding
// official files, modified files of the same and of another size, and
// unofficial files; optionally a Skip_Npk.ini in a program folder.
//
//   make_game_root GAME_ROOT [--skip-ini PROGRAM_FOLDER] [--files N --bytes B]
//
// Without --files the root is a small hand-made demo. With --files N every
// pack folder gets N official files of about B bytes (default 4096), every
// tenth of them modified (alternately keeping and changing its size), and
// N/10 unofficial files.

#include <openssl/evp.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "package_list_builder.h"

namespace {

namespace fs = std::filesystem;

enum class Kind { Official, SameSizeChange, OtherSizeChange, Unofficial };

struct PackFile {
  std::string name;  // ANSI bytes of the code page the tool runs with
  std::size_t bytes;
  Kind kind;
};

struct PackFolder {
  std::string name;
  std::vector<PackFile> files;
};

// Content that differs from file to file and stays the same from run to run.
std::string ContentOf(const std::string& name, std::size_t bytes) {
  std::uint32_t state = 2166136261u;
  for (unsigned char c : name) state = (state ^ c) * 16777619u;
  std::string content(bytes, '\0');
  for (char& byte : content) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    byte = static_cast<char>(state & 0xFF);
  }
  return content;
}

std::string Sha256(const std::string& content) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_Digest(content.data(), content.size(), digest, &length, EVP_sha256(), nullptr);
  return std::string(reinterpret_cast<const char*>(digest), length);
}

// The name of the file on the Linux side: Wine shows a UTF-8 name in the
// ANSI code page 1252 (the one the tool runs with under C.UTF-8), so a byte
// of 0x80 and above becomes its UTF-8 form.
std::string UnixName(const std::string& ansi) {
  std::string utf8;
  for (unsigned char c : ansi) {
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

bool WriteFile(const fs::path& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  return static_cast<bool>(out);
}

std::vector<PackFolder> DemoFolders() {
  return {
      {"ImagePacks2",
       {
           {"sprite_character_swordman_equipment_avatar_cap.NPK", 6144, Kind::Official},
           {"sprite_character_gunner_equipment_weapon.NPK", 5120, Kind::Official},
           {"sprite_map_town_hendonmyre.NPK", 8192, Kind::Official},
           {"sprite_interface_newstyle_windows.NPK", 4096, Kind::Official},
           {"sprite_item_stackable.NPK", 3072, Kind::SameSizeChange},
           {"sprite_monster_goblin.NPK", 7168, Kind::OtherSizeChange},
           {"(hd)sprite_character_swordman_skin.NPK", 2048, Kind::Unofficial},
           {"sprite_interface_clearmap_patch.NPK", 1024, Kind::Unofficial},
           {"keep_my_font_patch.NPK", 1536, Kind::Unofficial},
           {"readme.txt", 120, Kind::Unofficial},
       }},
      {"SoundPacks",
       {
           {"sounds_char_swordman.NPK", 4096, Kind::Official},
           {"sounds_mon_goblin.NPK", 3072, Kind::Official},
           {"music_town_hendonmyre.NPK", 9216, Kind::Official},
           {"sounds_ui.NPK", 2048, Kind::SameSizeChange},
           {"sounds_amb_forest.NPK", 5120, Kind::OtherSizeChange},
           {"voice_caf\xe9_remix.NPK", 2560, Kind::Unofficial},
           {"keep_my_bgm.NPK", 1024, Kind::Unofficial},
       }},
  };
}

std::vector<PackFolder> BenchmarkFolders(int files, std::size_t bytes) {
  std::vector<PackFolder> folders = {{"ImagePacks2", {}}, {"SoundPacks", {}}};
  for (PackFolder& folder : folders) {
    for (int i = 0; i < files; ++i) {
      Kind kind = Kind::Official;
      if (i % 10 == 9) kind = (i / 10) % 2 == 0 ? Kind::SameSizeChange : Kind::OtherSizeChange;
      folder.files.push_back({"pack_" + std::to_string(i) + ".NPK", bytes + static_cast<std::size_t>(i % 7), kind});
    }
    for (int i = 0; i < files / 10; ++i) {
      folder.files.push_back({"patch_" + std::to_string(i) + ".NPK", bytes, Kind::Unofficial});
    }
  }
  return folders;
}

bool WriteRoot(const fs::path& root, const std::vector<PackFolder>& folders) {
  std::vector<PackageListBuilder::Directory> records;
  for (const PackFolder& folder : folders) {
    const fs::path folderPath = root / folder.name;
    fs::create_directories(folderPath);
    PackageListBuilder::Directory record{folder.name, {}};
    for (const PackFile& file : folder.files) {
      const std::string official = ContentOf(file.name, file.bytes);
      std::string onDisk = official;
      if (file.kind == Kind::SameSizeChange) onDisk[onDisk.size() / 2] ^= 0x5A;
      if (file.kind == Kind::OtherSizeChange) onDisk += ContentOf("extra" + file.name, 100);
      if (!WriteFile(folderPath / UnixName(file.name), onDisk)) return false;
      if (file.kind != Kind::Unofficial) {
        record.entries.push_back({file.name, static_cast<std::int32_t>(official.size()), Sha256(official)});
      }
    }
    records.push_back(record);
  }
  return WriteFile(root / "package.lst", PackageListBuilder::File(records));
}

bool WriteSkipList(const fs::path& programFolder) {
  fs::create_directories(programFolder);
  const std::string ini =
      "[ImagePacks2]\r\n"
      "keep_my_font_patch.NPK=kept on purpose\r\n"
      "\r\n"
      "[SoundPacks]\r\n"
      "keep_my_bgm.NPK=1\r\n";
  return WriteFile(programFolder / "Skip_Npk.ini", ini);
}

int Usage() {
  std::cerr << "usage: make_game_root GAME_ROOT [--skip-ini PROGRAM_FOLDER] [--files N --bytes B]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const fs::path root = argv[1];
  fs::path skipFolder;
  int files = 0;
  long long bytes = 4096;
  for (int i = 2; i < argc; ++i) {
    const std::string option = argv[i];
    if (i + 1 >= argc) return Usage();
    const std::string value = argv[++i];
    if (option == "--skip-ini") {
      skipFolder = value;
    } else if (option == "--files") {
      files = std::atoi(value.c_str());
    } else if (option == "--bytes") {
      bytes = std::atoll(value.c_str());
    } else {
      return Usage();
    }
  }
  if (files < 0 || bytes < 1 || bytes > 0x7FFFFF00) return Usage();

  std::error_code error;
  fs::create_directories(root, error);
  const auto folders = files > 0 ? BenchmarkFolders(files, static_cast<std::size_t>(bytes)) : DemoFolders();
  if (!WriteRoot(root, folders)) {
    std::cerr << "make_game_root: cannot write into " << root << "\n";
    return 1;
  }
  if (!skipFolder.empty() && !WriteSkipList(skipFolder)) {
    std::cerr << "make_game_root: cannot write " << skipFolder / "Skip_Npk.ini" << "\n";
    return 1;
  }
  std::cout << "game root: " << root.string() << "\n";
  if (!skipFolder.empty()) std::cout << "skip list: " << (skipFolder / "Skip_Npk.ini").string() << "\n";
  return 0;
}
