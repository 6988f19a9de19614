#pragma once
// The ResultList: the rows of the findings list. The view shows them and
// keeps their ticks; this model keeps each row's exact name bytes and the
// game root of the scan that produced them, so a cleanup acts on the files
// that were scanned and on nothing else.

#include <vector>

#include "shell/view.h"
#include "text/text.h"

struct ResultRow {
  Text name;    // column 0: the file's name alone
  Text folder;  // column 1: ImagePacks2 or SoundPacks
  UiText verdict;  // column 2
};

class ResultList {
 public:
  explicit ResultList(View& view) : view_(view) {}
  ResultList(const ResultList&) = delete;
  ResultList& operator=(const ResultList&) = delete;

  int Count() const { return static_cast<int>(rows_.size()); }
  const ResultRow& Row(int index) const { return rows_[static_cast<std::size_t>(index)]; }

  // Removes every row; the rows appended next belong to a scan of `scanRoot`.
  void Clear(const Text& scanRoot);
  void Append(ResultRow row);
  void Remove(int index);

  // The game root that the scan behind the current rows used.
  const Text& ScanRoot() const { return scan_root_; }

  int Tick(int index) { return view_.RowTick(index); }
  void SetTick(int index, int tick) { view_.SetRowTick(index, tick); }

 private:
  View& view_;
  std::vector<ResultRow> rows_;
  Text scan_root_;
};
