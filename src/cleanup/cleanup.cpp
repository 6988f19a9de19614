#include "cleanup/cleanup.h"

#include <algorithm>
#include <string>
#include <vector>

#include "text/ui_texts.h"

namespace {

std::u8string Digits(std::size_t n) {
  std::u8string digits;
  for (char c : std::to_string(n)) digits.push_back(static_cast<char8_t>(c));
  return digits;
}

// "共 5 个文件中有 2 个未能清理(可能被占用或只读), 已保留在列表中!"
std::u8string NotCleanedMessage(std::size_t failed, std::size_t ticked) {
  std::u8string text(ui::kCleanFailedTotal);
  text += Digits(ticked);
  text += ui::kCleanFailedOf;
  text += Digits(failed);
  text += ui::kCleanFailedSuffix;
  return text;
}

bool StillListed(FileSystem& fs, const Text& folder, const Text& name) {
  std::vector<Text> names;
  fs.ListFiles(folder, &names);
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

void CleanSelectedFiles(Tool& tool) {
  View& view = tool.view;
  FileSystem& fs = tool.fileSystem;
  ResultList& rows = tool.results;

  const int count = rows.Count();
  if (count == 0) {
    view.ShowMessage(ui::kNothingFound, ui::kTitleNotice, MessageIcon::Information);
    return;
  }
  std::vector<int> ticked;
  for (int i = 0; i < count; ++i) {
    if (rows.Tick(i) == 1) ticked.push_back(i);
  }
  if (ticked.empty()) {
    view.ShowMessage(ui::kNothingTicked, ui::kTitleNotice, MessageIcon::Information);
    return;
  }

  const bool backup = view.IsTicked(Control::选择框_备份到目录);
  const Text& backupDirectory = tool.state.backupDirectory;
  if (backup && backupDirectory.empty()) {
    // Without a folder the files would be moved to the root of the drive.
    view.ShowMessage(ui::kChooseFolderFirst, ui::kTitleWarning, MessageIcon::Error);
    return;
  }

  // Paths are formed under the game root that the scan used, so choosing
  // another root after the scan never touches files nobody scanned.
  const Text& root = rows.ScanRoot();
  std::vector<int> cleaned;
  for (int index : ticked) {
    const ResultRow& row = rows.Row(index);
    const Text source = JoinPath(JoinPath(root, row.folder), row.name);
    bool handled;
    if (!fs.IsPlainFile(source)) {
      // Gone since the scan is what the user asked for; a file that has
      // become a folder, a link or a device is left alone. So is one that
      // the folder still lists under a name that reaches no file (a name the
      // code page cannot hold): it is not gone.
      handled = !fs.Exists(source) && !StillListed(fs, JoinPath(root, row.folder), row.name);
    } else if (!backup) {
      handled = fs.Delete(source);
    } else {
      // A file of that name in the backup folder is replaced; anything else
      // there is left alone: a replacing copy onto a link would write
      // through it to its target.
      const Text target = JoinPath(backupDirectory, row.name);
      handled = (!fs.Exists(target) || fs.IsPlainFile(target)) && fs.Move(source, target);
    }
    if (handled) cleaned.push_back(index);
  }

  for (auto it = cleaned.rbegin(); it != cleaned.rend(); ++it) rows.Remove(*it);

  if (cleaned.size() == ticked.size()) {
    view.ShowMessage(ui::kCleanDone, ui::kTitleDone, MessageIcon::Information);
  } else {
    view.ShowMessage(NotCleanedMessage(ticked.size() - cleaned.size(), ticked.size()), ui::kTitleWarning,
                     MessageIcon::Warning);
  }
}

void TickAllRows(Tool& tool) {
  View& view = tool.view;
  const int count = tool.results.Count();
  if (count == 0) {
    view.SetTicked(Control::选择框_全选, false);
    return;
  }
  const int tick = view.IsTicked(Control::选择框_全选) ? 1 : 0;
  for (int i = 0; i < count; ++i) tool.results.SetTick(i, tick);
}
