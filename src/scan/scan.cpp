#include "scan/scan.h"

#include <optional>
#include <string>
#include <unordered_map>

#include "scan/file_digest.h"
#include "scan/digest_pool.h"
#include "scan/message_pump.h"
#include "scan/skip_list.h"
#include "text/ui_texts.h"

namespace {

const Text kImagePacks = "ImagePacks2";
const Text kSoundPacks = "SoundPacks";

UiText VerdictText(Verdict verdict) {
  switch (verdict) {
    case Verdict::Unlisted: return ui::kVerdictUnlisted;
    case Verdict::SizeMismatch: return ui::kVerdictSize;
    case Verdict::DigestMismatch: return ui::kVerdictDigest;
    case Verdict::Official: break;
  }
  return UiText();
}

std::u8string FoundMessage(int count) {
  std::u8string text(ui::kFoundPrefix);
  for (char digit : std::to_string(count)) text.push_back(static_cast<char8_t>(digit));
  text += ui::kFoundSuffix;
  return text;
}

// The first entry of each name, in table order: the entry a walk of the table
// from its start would find.
std::unordered_map<Text, const PackageEntry*> FirstEntryByName(const std::vector<PackageEntry>& table) {
  std::unordered_map<Text, const PackageEntry*> index;
  index.reserve(table.size());
  for (const PackageEntry& entry : table) index.try_emplace(entry.name, &entry);
  return index;
}

}  // namespace

void StartScan(Tool& tool) {
  if (tool.state.scanRunning) return;
  View& view = tool.view;
  view.SetEnabled(Control::分组框1, false);
  tool.state.skipList.clear();
  const int choice = view.IsTicked(Control::单选框_IP) ? 1 : view.IsTicked(Control::单选框_SP) ? 2 : 0;
  if (choice == 0) {  // the radio buttons always hold a choice; never leave the group disabled
    view.SetEnabled(Control::分组框1, true);
    return;
  }
  tool.results.Clear(tool.state.gameDirectory);
  LoadSkipList(tool.fileSystem, SkipListPath(tool.programFolder), choice == 1 ? kImagePacks : kSoundPacks,
               &tool.state.skipList);
  RunScan(tool, choice);
}

void RunScan(Tool& tool, int choice) {
  View& view = tool.view;
  tool.state.scanRunning = true;
  view.SetEnabled(Control::按钮_开始扫描, false);
  view.SetCaption(Control::按钮_开始扫描, ui::kStartScanBusy);
  view.SetEnabled(Control::按钮_清理文件, false);
  // A new choice of game root would reload the catalogue under the scan.
  view.SetEnabled(Control::按钮_选择游戏目录, false);

  ScanDirectory(tool, choice == 1 ? kImagePacks : kSoundPacks);

  tool.state.scanRunning = false;
  if (tool.state.windowClosing) return;  // the window is gone: nothing to show
  view.SetEnabled(Control::分组框1, true);
  view.SetEnabled(Control::按钮_开始扫描, true);
  view.SetEnabled(Control::按钮_清理文件, true);
  view.SetEnabled(Control::按钮_选择游戏目录, true);
  view.SetCaption(Control::按钮_开始扫描, ui::kStartScanIdle);
}

bool ScanDirectory(Tool& tool, const Text& folder) {
  View& view = tool.view;
  FileSystem& fs = tool.fileSystem;
  PackageCatalogue& catalogue = tool.state.catalogue;
  const Text& root = tool.state.gameDirectory;
  MessagePump pump(view, tool.pumpInterval);
  auto closing = [&] {
    tool.state.windowClosing = true;
    return false;
  };

  view.SetProgressPosition(0);
  catalogue.ClearEntries();

  // No game root (never chosen, or the choice was cancelled) scans nothing:
  // the folder would otherwise be looked for at the root of the drive.
  const std::ptrdiff_t record = root.empty() ? -1 : catalogue.FindDirectory(folder);
  if (record < 0) {
    view.ShowMessage(ui::kNoRecordForFolder, ui::kTitleWarning, MessageIcon::Error);
    return false;
  }
  // Judging files against a table that could not be read whole would mark
  // official files as unofficial, and the user could delete them.
  if (!catalogue.LoadEntries(fs, root, static_cast<std::size_t>(record))) {
    catalogue.ClearEntries();
    view.ShowMessage(ui::kLstUnreadable, ui::kTitleWarning, MessageIcon::Error);
    return false;
  }

  const Text folderPath = JoinPath(root, folder);
  std::vector<Text> listing;
  fs.ListFiles(folderPath, &listing);  // a folder that cannot be listed gives no files

  // Skip entries carry the current size and digest of the files they name,
  // after every loaded entry: a name the record holds is judged by the record.
  const std::size_t loaded = catalogue.EntryTable().size();
  std::vector<Text> jobs;  // files to hash, in the order their digests are needed
  for (const Text& name : tool.state.skipList) {
    Text path = JoinPath(folderPath, name);
    catalogue.AppendEntry(PackageEntry{name, fs.LengthOf(path), Text()});
    jobs.push_back(std::move(path));
  }
  const auto entries = FirstEntryByName(catalogue.EntryTable());
  const bool sizeOption = view.IsTicked(Control::选择框_大小对比);
  const bool digestOption = view.IsTicked(Control::选择框_哈希对比);

  // With the digest option every listed file is hashed, ahead of its turn.
  constexpr std::size_t kNoJob = static_cast<std::size_t>(-1);
  std::vector<std::size_t> jobOfFile(listing.size(), kNoJob);
  if (digestOption) {
    for (std::size_t i = 0; i < listing.size(); ++i) {
      if (!entries.count(listing[i])) continue;
      jobOfFile[i] = jobs.size();
      jobs.push_back(JoinPath(folderPath, listing[i]));
    }
  }
  const unsigned workers = DigestPool::DefaultWorkers();
  DigestPool pool(fs, std::move(jobs), workers, 2 * workers + 2, [&view] { view.Wake(); });
  // The window stays alive while the scan waits for a worker.
  auto await = [&](std::size_t job) -> std::optional<Text> {
    for (;;) {
      if (std::optional<Text> digest = pool.TryTake(job)) return digest;
      if (!pump.Now()) return std::nullopt;
      view.WaitForMessageOrWake(std::chrono::milliseconds(50));
    }
  };

  for (std::size_t k = 0; k < tool.state.skipList.size(); ++k) {
    std::optional<Text> digest = await(k);
    if (!digest) return closing();
    catalogue.SetEntryDigest(loaded + k, std::move(*digest));
  }

  view.SetProgressMaximum(static_cast<int>(listing.size()));
  int progress = 0;
  for (std::size_t i = 0; i < listing.size(); ++i) {
    if (!pump.Poll()) return closing();
    const Text& name = listing[i];
    Verdict verdict = Verdict::Official;
    const auto found = entries.find(name);
    if (found == entries.end()) {
      verdict = Verdict::Unlisted;
    } else if (sizeOption || digestOption) {
      const PackageEntry& entry = *found->second;
      if (sizeOption && entry.size != fs.LengthOf(JoinPath(folderPath, name))) verdict = Verdict::SizeMismatch;
      if (verdict == Verdict::Official && digestOption) {
        const std::optional<Text> digest = await(jobOfFile[i]);
        if (!digest) return closing();
        if (!EqualsIgnoringCase(*digest, entry.digest)) verdict = Verdict::DigestMismatch;
      }
    }
    view.SetProgressPosition(++progress);
    if (verdict != Verdict::Official) tool.results.Append(ResultRow{name, folder, VerdictText(verdict)});
  }

  const int found = tool.results.Count();
  view.SetProgressPosition(static_cast<int>(listing.size()));
  if (found > 0) {
    view.ShowMessage(FoundMessage(found), ui::kTitleNotice, MessageIcon::Warning);
  } else {
    view.ShowMessage(ui::kNothingFound, ui::kTitleNotice, MessageIcon::Information);
  }
  return true;
}
