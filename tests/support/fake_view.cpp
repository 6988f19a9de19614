#include "fake_view.h"

FakeView::FakeView() {
  for (Control c : {Control::按钮_选择游戏目录, Control::编辑框_游戏目录, Control::选择框_全选, Control::进度条_扫描,
                    Control::按钮_开始扫描, Control::分组框1, Control::选择框_大小对比, Control::选择框_哈希对比,
                    Control::选择框_备份到目录, Control::编辑框_备份目录, Control::按钮_备份目录, Control::单选框_IP,
                    Control::单选框_SP}) {
    enabled[c] = true;
  }
  enabled[Control::按钮_清理文件] = false;
  ticked[Control::单选框_IP] = true;
  captions[Control::按钮_开始扫描] = std::u8string(ui::kStartScanInitial);
  captions[Control::按钮_清理文件] = std::u8string(ui::kCleanButton);
}

std::vector<Text> FakeView::RowNames() const {
  std::vector<Text> names;
  for (const Row& row : rows) names.push_back(row.name);
  return names;
}

void FakeView::ShowMessage(UiText text, UiText title, MessageIcon icon) {
  messages.push_back(Message{std::u8string(text), std::u8string(title), icon, enabled[Control::按钮_开始扫描],
                             enabled[Control::按钮_清理文件], enabled[Control::分组框1], progressPosition,
                             progressMaximum});
  if (onMessage) onMessage(messages.back());
}

void FakeView::AppendRow(const Text& name, const Text& folder, UiText verdict) {
  rows.push_back(Row{name, folder, std::u8string(verdict), 0});
}

void FakeView::RemoveRow(int index) {
  if (index >= 0 && index < RowCount()) rows.erase(rows.begin() + index);
}

int FakeView::RowTick(int index) {
  return index >= 0 && index < RowCount() ? rows[static_cast<std::size_t>(index)].tick : 0;
}

void FakeView::SetRowTick(int index, int tick) {
  if (index >= 0 && index < RowCount()) rows[static_cast<std::size_t>(index)].tick = tick;
}

Text FakeView::BrowseForFolder(UiText prompt) {
  prompts.emplace_back(prompt);
  if (folderAnswers.empty()) return Text();
  Text answer = folderAnswers.front();
  folderAnswers.pop_front();
  return answer;
}

bool FakeView::ProcessPendingMessages() {
  ++pumps;
  return onPump ? onPump() : true;
}
