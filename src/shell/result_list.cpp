#include "shell/result_list.h"

void ResultList::Clear(const Text& scanRoot) {
  view_.RemoveAllRows();
  rows_.clear();
  scan_root_ = scanRoot;
}

void ResultList::Append(ResultRow row) {
  view_.AppendRow(row.name, row.folder, row.verdict);
  rows_.push_back(std::move(row));
}

void ResultList::Remove(int index) {
  if (index < 0 || index >= Count()) return;
  view_.RemoveRow(index);
  rows_.erase(rows_.begin() + index);
}
