// The whole scan, then a cleanup of every row, over a game root built from
// the input (see scan_input.h). The scan runs with each combination of the
// two comparison options. Checked: a scan deletes, moves and changes
// nothing, shows exactly one message, and each of its rows names a file of
// the scanned folder's listing; the cleanup shows one message and removes
// only files of the scanned folder that were plain files behind its rows,
// moving them (in backup mode) only into the backup folder, which may be a
// pack folder itself; a row stays exactly when its file stays.

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cleanup/cleanup.h"
#include "fake_view.h"
#include "fuzz_check.h"
#include "memory_file_system.h"
#include "scan/scan.h"
#include "scan/skip_list.h"
#include "scan_input.h"
#include "shell/choosers.h"

namespace {

const Text kRoot = "C:\\Game";
const Text kProgram = "C:\\Tool";
const Text kBackup = "C:\\Backup";
const Text kOutside = "C:\\Elsewhere\\precious.dat";

// What stands at every path of the drive.
struct Node {
  enum Kind { File, Folder, Other } kind;
  std::string content;
  bool operator==(const Node&) const = default;
};
using Snapshot = std::map<Text, Node>;

Snapshot Snap(const MemoryFileSystem& fs) {
  Snapshot snapshot;
  for (const Text& path : fs.PathsUnder("C:")) {
    const Node::Kind kind = fs.HasFile(path) ? Node::File : fs.HasFolder(path) ? Node::Folder : Node::Other;
    snapshot[path] = Node{kind, fs.Content(path)};
  }
  return snapshot;
}

void Build(const ScanInput& input, MemoryFileSystem& fs) {
  fs.AddFolder(kRoot);
  fs.AddFolder(kProgram);
  fs.AddFolder(kBackup);
  fs.AddFile(kOutside, "precious");
  if (!(input.flags & ScanInput::kNoPackFolders)) {
    fs.AddFolder(JoinPath(kRoot, "ImagePacks2"));
    fs.AddFolder(JoinPath(kRoot, "SoundPacks"));
  }
  fs.AddFile(PackageListPath(kRoot), input.packageList);
  if (!input.skipList.empty()) fs.AddFile(SkipListPath(kProgram), input.skipList);
  for (const ScanFile& file : input.files) {
    // The double has no file without a name; names with "\" make subfolders.
    if (file.name.empty() || file.name.back() == '\\') continue;
    const Text folder = JoinPath(kRoot, file.kind & ScanFile::kSoundPacks ? "SoundPacks" : "ImagePacks2");
    const Text path = JoinPath(folder, file.name);
    if (file.kind & ScanFile::kFolder) {
      fs.AddFolder(path);
    } else if (file.kind & ScanFile::kLinkOutside) {
      fs.AddLink(path, kOutside);
    } else {
      fs.AddFile(path, file.content,
                 {.hidden = (file.kind & ScanFile::kHidden) != 0,
                  .readOnly = (file.kind & ScanFile::kReadOnly) != 0,
                  .locked = (file.kind & ScanFile::kLocked) != 0});
    }
    if (file.kind & ScanFile::kInBackup) fs.AddFile(JoinPath(kBackup, file.name), "older backup");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ScanInput input = DecodeScanInput(std::string_view(reinterpret_cast<const char*>(data), size));
  MemoryFileSystem fs;
  Build(input, fs);
  FakeView view;
  auto state = CreateSharedState();
  ResultList results(view);
  Tool tool{fs, view, *state, results, kProgram, std::chrono::milliseconds(0)};

  const bool soundPacks = input.flags & ScanInput::kScanSoundPacks;
  const Text folder = soundPacks ? "SoundPacks" : "ImagePacks2";
  const Text folderPath = JoinPath(kRoot, folder);
  view.ticked[Control::单选框_IP] = !soundPacks;
  view.ticked[Control::单选框_SP] = soundPacks;
  view.folderAnswers = {kRoot};
  ChooseGameDirectory(tool);

  const Snapshot before = Snap(fs);
  std::vector<Text> listing;
  fs.ListFiles(folderPath, &listing);
  const std::set<Text> listed(listing.begin(), listing.end());

  for (const bool sizeOption : {false, true}) {
    for (const bool digestOption : {false, true}) {
      view.ticked[Control::选择框_大小对比] = sizeOption;
      view.ticked[Control::选择框_哈希对比] = digestOption;
      view.messages.clear();
      StartScan(tool);
      FUZZ_CHECK(fs.Journal().empty());
      FUZZ_CHECK(Snap(fs) == before);
      FUZZ_CHECK(view.messages.size() == 1);
      FUZZ_CHECK(!state->scanRunning);
      FUZZ_CHECK(view.rows.size() == static_cast<std::size_t>(results.Count()));
      for (int i = 0; i < results.Count(); ++i) {
        const ResultRow& row = results.Row(i);
        FUZZ_CHECK(row.folder == folder);
        FUZZ_CHECK(listed.count(row.name) == 1);
        FUZZ_CHECK(view.rows[static_cast<std::size_t>(i)].name == row.name);
      }
    }
  }

  // Every row ticked and cleaned.
  std::map<Text, Text> sourceOfRow;  // the path behind each row, by name
  for (int i = 0; i < results.Count(); ++i) sourceOfRow[results.Row(i).name] = JoinPath(folderPath, results.Row(i).name);
  const bool backup = input.flags & ScanInput::kBackupMode;
  const Text backupFolder = input.flags & ScanInput::kBackupInScanned ? folderPath
                            : input.flags & ScanInput::kBackupInOther
                                ? JoinPath(kRoot, soundPacks ? "ImagePacks2" : "SoundPacks")
                                : kBackup;
  const Text inBackup = backupFolder + "\\";
  if (backup) {
    view.folderAnswers = {backupFolder};
    ChooseBackupDirectory(tool);
  }
  view.ticked[Control::选择框_全选] = true;
  TickAllRows(tool);
  view.messages.clear();
  CleanSelectedFiles(tool);
  FUZZ_CHECK(view.messages.size() == 1);

  const Snapshot after = Snap(fs);
  std::set<Text> sources;  // the paths the cleanup was allowed to take away
  for (const auto& [name, source] : sourceOfRow) sources.insert(source);
  for (const auto& [path, node] : before) {
    const auto now = after.find(path);
    if (now != after.end() && now->second == node) continue;
    if (now == after.end()) {  // gone: only a plain file behind a row
      FUZZ_CHECK(sources.count(path) == 1);
      FUZZ_CHECK(node.kind == Node::File);
    } else {  // changed: only a backup replaced by a moved file, checked below
      FUZZ_CHECK(backup);
      FUZZ_CHECK(path.compare(0, inBackup.size(), inBackup) == 0);
    }
  }
  for (const auto& [path, node] : after) {
    const auto then = before.find(path);
    if (then != before.end() && then->second == node) continue;
    // Only a moved file can appear, in the backup folder, with its content.
    FUZZ_CHECK(backup);
    FUZZ_CHECK(path.compare(0, inBackup.size(), inBackup) == 0);
    const Text name = path.substr(inBackup.size());
    FUZZ_CHECK(sourceOfRow.count(name) == 1);
    const auto source = before.find(sourceOfRow[name]);
    FUZZ_CHECK(source != before.end() && source->second == node);
  }

  // A row stays exactly when its file was not taken away.
  std::set<Text> remaining;
  for (int i = 0; i < results.Count(); ++i) remaining.insert(results.Row(i).name);
  for (const auto& [name, source] : sourceOfRow) {
    const bool stays = after.count(source) == 1;
    FUZZ_CHECK(remaining.count(name) == (stays ? 1u : 0u));
  }
  FUZZ_CHECK(fs.Content(kOutside) == "precious");
  return 0;
}
