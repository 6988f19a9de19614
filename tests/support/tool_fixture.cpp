#include "tool_fixture.h"

#include "scan/file_digest.h"
#include "scan/scan.h"

ToolFixture::ToolFixture()
    : state(CreateSharedState()),
      results(view),
      tool{fs, view, *state, results, kProgram, std::chrono::milliseconds(0)} {
  fs.AddFolder(kProgram);
  fs.AddFolder(kRoot);
}

std::string Sha256Bytes(const std::string& content) { return BytesFromHex(FileDigest(content, kSha256)); }

PackageListBuilder::Directory& ToolFixture::RecordOf(const Text& folder) {
  for (auto& record : records_) {
    if (record.name == folder) return record;
  }
  records_.push_back({folder, {}});
  return records_.back();
}

void ToolFixture::Record(const Text& folder) { RecordOf(folder); }

void ToolFixture::Official(const Text& folder, const Text& name, const std::string& content) {
  Listed(folder, name, static_cast<std::int32_t>(content.size()), content);
  OnDisk(folder, name, content);
}

void ToolFixture::Listed(const Text& folder, const Text& name, std::int32_t size, const std::string& listedContent) {
  RecordOf(folder).entries.push_back({name, size, Sha256Bytes(listedContent)});
}

void ToolFixture::OnDisk(const Text& folder, const Text& name, const std::string& content,
                         MemoryFileSystem::Attributes attributes) {
  fs.AddFile(PathOf(folder, name), content, attributes);
}

void ToolFixture::WriteListAndChooseRoot() {
  fs.AddFile(JoinPath(kRoot, "package.lst"), PackageListBuilder::File(records_));
  state->gameDirectory = kRoot;
  state->catalogue.LoadIndex(fs, view, kRoot);
}

void ToolFixture::WriteSkipList(const std::string& bytes) { fs.AddFile(JoinPath(kProgram, "Skip_Npk.ini"), bytes); }

void ToolFixture::Scan(const Text& folder, bool sizeOption, bool digestOption) {
  view.ticked[Control::单选框_IP] = folder == "ImagePacks2";
  view.ticked[Control::单选框_SP] = folder == "SoundPacks";
  view.ticked[Control::选择框_大小对比] = sizeOption;
  view.ticked[Control::选择框_哈希对比] = digestOption;
  StartScan(tool);
}

Text ToolFixture::PathOf(const Text& folder, const Text& name) const {
  return JoinPath(JoinPath(kRoot, folder), name);
}
