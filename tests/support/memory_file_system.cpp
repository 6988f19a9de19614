#include "memory_file_system.h"

#include <algorithm>

namespace {

class MemoryFile : public RandomAccessFile {
 public:
  MemoryFile(std::shared_ptr<std::string> content, std::int64_t length,
             std::shared_ptr<std::atomic<std::int64_t>> bytes_read)
      : content_(std::move(content)), length_(length), bytes_read_(std::move(bytes_read)) {}
  std::int64_t Length() override { return length_ >= 0 ? length_ : static_cast<std::int64_t>(content_->size()); }
  std::int64_t ReadAt(std::int64_t offset, char* buffer, std::int64_t n) override {
    const auto size = static_cast<std::int64_t>(content_->size());
    if (offset < 0 || n <= 0 || offset >= size) return 0;
    const std::int64_t got = std::min(n, size - offset);
    std::copy_n(content_->data() + offset, got, buffer);
    *bytes_read_ += got;
    return got;
  }

 private:
  std::shared_ptr<std::string> content_;
  std::int64_t length_;
  std::shared_ptr<std::atomic<std::int64_t>> bytes_read_;
};

Text ParentOf(const Text& path) {
  const std::size_t slash = path.rfind('\\');
  return slash == Text::npos ? Text() : path.substr(0, slash);
}

}  // namespace

Text MemoryFileSystem::Normalise(const Text& path) {
  Text out;
  out.reserve(path.size());
  for (std::size_t i = 0; i < path.size(); ++i) {
    const char c = path[i];
    if (static_cast<unsigned char>(c) >= 0x80 && i + 1 < path.size()) {
      out.push_back(c);
      out.push_back(path[++i]);  // a trail byte is never a separator
      continue;
    }
    if (c == '\\' && !out.empty() && out.back() == '\\' &&
        (out.size() < 2 || static_cast<unsigned char>(out[out.size() - 2]) < 0x80)) {
      continue;
    }
    out.push_back(c);
  }
  return out;
}

void MemoryFileSystem::MakeParents(const Text& path) {
  for (Text parent = ParentOf(path); !parent.empty(); parent = ParentOf(parent)) {
    auto [it, inserted] = nodes_.try_emplace(parent);
    if (inserted) it->second.kind = Kind::Folder;
  }
}

void MemoryFileSystem::AddFile(const Text& path, std::string content, Attributes attributes) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  const Text key = Normalise(path);
  MakeParents(key);
  Node node;
  node.content = std::make_shared<std::string>(std::move(content));
  node.attributes = attributes;
  nodes_[key] = std::move(node);
}

void MemoryFileSystem::AddFileWithLength(const Text& path, std::int64_t length) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  AddFile(path, std::string());
  nodes_[Normalise(path)].length = length;
}

void MemoryFileSystem::AddFolder(const Text& path) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  const Text key = Normalise(path);
  MakeParents(key);
  nodes_[key].kind = Kind::Folder;
}

void MemoryFileSystem::AddLink(const Text& path, const Text& target) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  const Text key = Normalise(path);
  MakeParents(key);
  Node node;
  node.kind = Kind::Link;
  node.target = Normalise(target);
  nodes_[key] = std::move(node);
}

void MemoryFileSystem::SetAttributes(const Text& path, Attributes attributes) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (Node* node = Find(path)) node->attributes = attributes;
}

void MemoryFileSystem::Remove(const Text& path) {
  std::lock_guard<std::recursive_mutex> lock(mutex_); nodes_.erase(Normalise(path)); }

bool MemoryFileSystem::HasFile(const Text& path) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  const Node* node = Find(path);
  return node && node->kind == Kind::File;
}

bool MemoryFileSystem::HasFolder(const Text& path) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  const Node* node = Find(path);
  return node && node->kind == Kind::Folder;
}

std::string MemoryFileSystem::Content(const Text& path) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  const Node* node = Find(path);
  return node && node->kind == Kind::File ? *node->content : std::string();
}

std::vector<Text> MemoryFileSystem::PathsUnder(const Text& folder) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  const Text prefix = Normalise(folder) + "\\";
  std::vector<Text> paths;
  for (const auto& [path, node] : nodes_) {
    if (path.compare(0, prefix.size(), prefix) == 0) paths.push_back(path);
  }
  return paths;
}

void MemoryFileSystem::Fail(Op op, const Text& path) {
  std::lock_guard<std::recursive_mutex> lock(mutex_); failures_.insert({op, Normalise(path)}); }

int MemoryFileSystem::Calls(Op op) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  auto it = calls_.find(op);
  return it == calls_.end() ? 0 : it->second;
}

bool MemoryFileSystem::Failing(Op op, const Text& path) {
  ++calls_[op];
  return failures_.count({op, Text()}) || failures_.count({op, Normalise(path)});
}

MemoryFileSystem::Node* MemoryFileSystem::Find(const Text& path) {
  auto it = nodes_.find(Normalise(path));
  return it == nodes_.end() ? nullptr : &it->second;
}

const MemoryFileSystem::Node* MemoryFileSystem::Find(const Text& path) const {
  auto it = nodes_.find(Normalise(path));
  return it == nodes_.end() ? nullptr : &it->second;
}

MemoryFileSystem::Node* MemoryFileSystem::Resolve(const Text& path) {
  Node* node = Find(path);
  for (int hops = 0; node && node->kind == Kind::Link && hops < 8; ++hops) node = Find(node->target);
  return node && node->kind != Kind::Link ? node : nullptr;
}

bool MemoryFileSystem::Exists(const Text& path) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (Failing(Op::Exists, path)) return false;
  return Resolve(path) != nullptr;
}

bool MemoryFileSystem::IsPlainFile(const Text& path) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (Failing(Op::IsPlainFile, path)) return false;
  const Node* node = Find(path);
  return node && node->kind == Kind::File;
}

std::int32_t MemoryFileSystem::LengthOf(const Text& path) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (Failing(Op::LengthOf, path)) return -1;
  const Node* node = Resolve(path);
  if (!node || node->kind != Kind::File) return -1;
  const std::int64_t length = node->length >= 0 ? node->length : static_cast<std::int64_t>(node->content->size());
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(length));
}

std::unique_ptr<RandomAccessFile> MemoryFileSystem::OpenForReading(const Text& path) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (Failing(Op::Open, path)) return nullptr;
  Node* node = Resolve(path);
  if (!node || node->kind != Kind::File || node->attributes.locked) return nullptr;
  return std::make_unique<MemoryFile>(node->content, node->length, bytes_read_);
}

bool MemoryFileSystem::ReadWholeFile(const Text& path, std::string* content) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  content->clear();
  if (Failing(Op::ReadWhole, path)) return false;
  Node* node = Resolve(path);
  if (!node || node->kind != Kind::File || node->attributes.locked) return false;
  *content = *node->content;
  return true;
}

bool MemoryFileSystem::ListFiles(const Text& folder, std::vector<Text>* names) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  names->clear();
  if (Failing(Op::List, folder)) return false;
  const Node* dir = Find(folder);
  if (!dir || dir->kind != Kind::Folder) return false;
  const Text prefix = Normalise(folder) + "\\";
  for (const auto& [path, node] : nodes_) {
    if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0) continue;
    const Text name = path.substr(prefix.size());
    if (name.find('\\') != Text::npos || node.kind == Kind::Folder) continue;
    names->push_back(name);
  }
  return true;
}

bool MemoryFileSystem::Delete(const Text& path) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  journal_.push_back("delete " + path);
  if (Failing(Op::Delete, path)) return false;
  Node* node = Find(path);
  if (!node || node->kind == Kind::Folder || node->attributes.readOnly || node->attributes.locked) return false;
  nodes_.erase(Normalise(path));
  return true;
}

bool MemoryFileSystem::Move(const Text& from, const Text& to) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  journal_.push_back("move " + from + " > " + to);
  Node* source = Find(from);
  const Text to_key = Normalise(to);
  // Onto itself: the file cannot leave `from`, and a copy onto itself
  // followed by the delete would lose it.
  if (to_key == Normalise(from)) return false;
  const Node* target_folder = Find(ParentOf(to_key));
  const bool target_folder_ok = target_folder && target_folder->kind == Kind::Folder;
  // The ordinary move: fails when the target exists.
  if (!Failing(Op::Rename, from) && source && source->kind != Kind::Folder && !source->attributes.locked &&
      target_folder_ok && !Find(to_key)) {
    Node moved = *source;
    nodes_.erase(Normalise(from));
    nodes_[to_key] = std::move(moved);
    return true;
  }
  // The replacing copy, then the delete of the source.
  Node* readable = Resolve(from);
  const Node* existing = Find(to_key);
  if (Failing(Op::Copy, from) || !readable || readable->kind != Kind::File || readable->attributes.locked ||
      !target_folder_ok || (existing && (existing->kind == Kind::Folder || existing->attributes.readOnly))) {
    return false;
  }
  Node copy;
  copy.content = std::make_shared<std::string>(*readable->content);
  nodes_[to_key] = std::move(copy);
  return Delete(from);
}
