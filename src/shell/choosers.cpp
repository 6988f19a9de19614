#include "shell/choosers.h"

#include "text/ui_texts.h"

void ChooseGameDirectory(Tool& tool) {
  // The catalogue must not be reloaded under a running scan; the scan also
  // disables the chooser's button while it runs.
  if (tool.state.scanRunning) return;
  tool.state.gameDirectory = tool.view.BrowseForFolder(ui::kPromptGameDir);
  if (tool.state.gameDirectory.empty()) {
    tool.view.ShowMessage(ui::kChooseFolderFirst, ui::kTitleWarning, MessageIcon::Error);
    return;
  }
  tool.state.catalogue.LoadIndex(tool.fileSystem, tool.view, tool.state.gameDirectory);
  tool.view.SetEditText(Control::编辑框_游戏目录, tool.state.gameDirectory);
}

void ChooseBackupDirectory(Tool& tool) {
  tool.state.backupDirectory = tool.view.BrowseForFolder(ui::kPromptBackupDir);
  if (tool.state.backupDirectory.empty()) {
    tool.view.ShowMessage(ui::kChooseFolderFirst, ui::kTitleWarning, MessageIcon::Error);
    return;
  }
  tool.view.SetEditText(Control::编辑框_备份目录, tool.state.backupDirectory);
  if (!tool.view.IsTicked(Control::选择框_备份到目录)) tool.view.SetTicked(Control::选择框_备份到目录, true);
}

void OnSizeOptionClicked(Tool& tool) {
  if (tool.view.IsTicked(Control::选择框_哈希对比)) tool.view.SetTicked(Control::选择框_哈希对比, false);
}

void OnDigestOptionClicked(Tool& tool) {
  if (tool.view.IsTicked(Control::选择框_大小对比)) tool.view.SetTicked(Control::选择框_大小对比, false);
}
