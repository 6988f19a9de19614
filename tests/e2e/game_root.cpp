#include "game_root.h"

#include <windows.h>

#include <algorithm>
#include <random>

#include "package_list_builder.h"
#include "scan/file_digest.h"
#include "win32/scoped_handle.h"
#include "win32/wide_text.h"

bool WriteBytes(const Text& path, const std::string& bytes) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  for (std::size_t done = 0; done < bytes.size();) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 24));
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

std::optional<std::string> ReadBytes(const Text& path) {
  FileHandle file(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return std::nullopt;
  std::string bytes;
  char buffer[1 << 16];
  DWORD read = 0;
  while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  return bytes;
}

bool IsFile(const Text& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolders(const Text& path) {
  for (std::size_t at = path.find('\\', 3); at != Text::npos; at = path.find('\\', at + 1)) {
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  }
  CreateDirectoryA(path.c_str(), nullptr);
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool RemoveTree(const Text& path) {
  WIN32_FIND_DATAA found{};
  const HANDLE search = FindFirstFileA(JoinPath(path, "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const Text name = found.cFileName;
      if (name == "." || name == "..") continue;
      const Text child = JoinPath(path, name);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
  return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::wstring Wide(const Text& ansi) { return WideFromAnsi(ansi); }

std::string ContentOf(const std::string& seed, std::size_t bytes) {
  std::seed_seq sequence(seed.begin(), seed.end());
  std::mt19937 generator(sequence);
  std::string content(bytes, '\0');
  for (char& byte : content) byte = static_cast<char>(generator());
  return content;
}

GameRoot::Listing GameRoot::ListingOf(const std::string& content) {
  return {static_cast<std::int32_t>(content.size()), BytesFromHex(FileDigest(content, kSha256))};
}

GameRoot& GameRoot::Official(const Text& folder, const Text& name, const std::string& listed,
                             std::optional<std::string> onDisk) {
  Record(folder);
  files_.push_back({folder, name, onDisk ? *onDisk : listed, {}, ListingOf(listed)});
  return *this;
}

GameRoot& GameRoot::Unofficial(const Text& folder, const Text& name, const std::string& content) {
  Record(folder);
  files_.push_back({folder, name, content, {}, std::nullopt});
  return *this;
}

GameRoot& GameRoot::OfficialCopies(const Text& folder, const Text& prefix, int count, const std::string& content) {
  Record(folder);
  const Listing listing = ListingOf(content);
  const Text first = PathOf(folder, prefix + "0.NPK");
  for (int i = 0; i < count; ++i) {
    files_.push_back({folder, prefix + std::to_string(i) + ".NPK", i == 0 ? content : std::string(),
                      i == 0 ? Text() : first, listing});
  }
  return *this;
}

GameRoot& GameRoot::Record(const Text& folder) {
  if (std::find(folders_.begin(), folders_.end(), folder) == folders_.end()) folders_.push_back(folder);
  return *this;
}

std::string GameRoot::ListBytes() const {
  std::vector<PackageListBuilder::Directory> records;
  for (const Text& folder : folders_) {
    PackageListBuilder::Directory record{folder, {}};
    for (const File& file : files_) {
      if (file.folder == folder && file.listing) {
        record.entries.push_back({file.name, file.listing->size, file.listing->digest});
      }
    }
    records.push_back(record);
  }
  return PackageListBuilder::File(records);
}

bool GameRoot::WriteFiles() const {
  if (!MakeFolders(path_)) return false;
  for (const Text& folder : folders_) {
    if (!MakeFolders(JoinPath(path_, folder))) return false;
  }
  for (const File& file : files_) {
    const Text path = PathOf(file.folder, file.name);
    const bool written = file.linkOf.empty() ? WriteBytes(path, file.onDisk)
                                             : CreateHardLinkA(path.c_str(), file.linkOf.c_str(), nullptr) != FALSE;
    if (!written) return false;
  }
  return true;
}

bool GameRoot::Write() const { return WriteFiles() && WriteBytes(JoinPath(path_, "package.lst"), ListBytes()); }

bool GameRoot::WriteWithoutList() const { return WriteFiles(); }
