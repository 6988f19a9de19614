#pragma once
// The FileSystem port on the wide Win32 file functions. Every path is
// converted by ToExtendedPath, so a call acts on exactly the file it names;
// a path that does not convert fails like a missing file.

#include "shell/file_system.h"

class Win32FileSystem : public FileSystem {
 public:
  bool Exists(const Text& path) override;
  bool IsPlainFile(const Text& path) override;
  std::int32_t LengthOf(const Text& path) override;
  std::unique_ptr<RandomAccessFile> OpenForReading(const Text& path) override;
  bool ReadWholeFile(const Text& path, std::string* content) override;
  bool ListFiles(const Text& folder, std::vector<Text>* names) override;
  bool Delete(const Text& path) override;
  bool Move(const Text& from, const Text& to) override;
};
