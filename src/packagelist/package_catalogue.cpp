#include "packagelist/package_catalogue.h"

#include "text/ui_texts.h"

Text PackageListPath(const Text& gameDirectory) { return JoinPath(gameDirectory, "package.lst"); }

bool PackageCatalogue::LoadIndex(FileSystem& fs, Notifier& notifier, const Text& gameDirectory) {
  Clear();
  const Text path = PackageListPath(gameDirectory);
  if (!fs.Exists(path)) {
    notifier.ShowMessage(ui::kLstMissing, ui::kTitleWarning, MessageIcon::Error);
    return false;
  }
  // Opened for reading only, with full sharing: nothing is ever written to
  // the list, and a read-only or write-locked list is still a valid list.
  std::unique_ptr<RandomAccessFile> file = fs.OpenForReading(path);
  bool accepted = false;
  if (file) {
    PackageListReader reader(*file);
    if (HasPackageListMagic(reader)) {
      directories_ = WalkDirectoryRecords(reader);
      accepted = true;
    }
  }
  file.reset();  // closed before any message is shown
  if (!accepted) {
    notifier.ShowMessage(ui::kLstNotAList, ui::kTitleWarning, MessageIcon::Error);
  }
  return accepted;
}

bool PackageCatalogue::LoadEntries(FileSystem& fs, const Text& gameDirectory, std::size_t position) {
  entries_.clear();
  if (position >= directories_.size()) return false;
  std::unique_ptr<RandomAccessFile> file = fs.OpenForReading(PackageListPath(gameDirectory));
  if (!file) return false;
  PackageListReader reader(*file);
  return ReadDirectoryEntries(reader, directories_[position].offset, &entries_);
}

std::ptrdiff_t PackageCatalogue::FindDirectory(const Text& name) const {
  for (std::size_t i = 0; i < directories_.size(); ++i) {
    if (directories_[i].name == name) return static_cast<std::ptrdiff_t>(i);
  }
  return -1;
}

void PackageCatalogue::InsertEntry(std::size_t position, PackageEntry entry) {
  if (position > entries_.size()) position = entries_.size();
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(position), std::move(entry));
}

void PackageCatalogue::Clear() {
  directories_.clear();
  directories_.shrink_to_fit();
  entries_.clear();
  entries_.shrink_to_fit();
}
