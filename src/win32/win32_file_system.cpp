#include "win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "win32/extended_path.h"
#include "win32/scoped_handle.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kNotAPlainFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;

bool AttributesOf(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA* data) {
  return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, data) != FALSE;
}

// Positioned reads through a read-ahead buffer, so that the many small reads
// of a parser cost one system call per buffer.
class Win32File : public RandomAccessFile {
 public:
  explicit Win32File(FileHandle handle) : handle_(std::move(handle)) {}

  std::int64_t Length() override {
    LARGE_INTEGER size;
    return GetFileSizeEx(handle_.Get(), &size) ? size.QuadPart : 0;
  }

  std::int64_t ReadAt(std::int64_t offset, char* buffer, std::int64_t n) override {
    if (offset < 0 || n <= 0) return 0;
    std::int64_t total = 0;
    while (n > 0) {
      if (offset >= buffered_at_ && offset < buffered_at_ + buffered_) {
        const std::int64_t take = std::min(n, buffered_at_ + buffered_ - offset);
        std::memcpy(buffer, buffer_.data() + (offset - buffered_at_), static_cast<std::size_t>(take));
        buffer += take;
        offset += take;
        n -= take;
        total += take;
      } else if (n >= kBufferSize) {
        return total + ReadDirect(offset, buffer, n);
      } else {
        if (buffer_.empty()) buffer_.resize(kBufferSize);
        buffered_at_ = offset;
        buffered_ = ReadDirect(offset, buffer_.data(), kBufferSize);
        if (buffered_ == 0) break;
      }
    }
    return total;
  }

 private:
  static constexpr std::int64_t kBufferSize = 64 * 1024;

  // Reads at `offset` without the buffer until `n` bytes, the end of the
  // file or an error.
  std::int64_t ReadDirect(std::int64_t offset, char* buffer, std::int64_t n) {
    std::int64_t total = 0;
    while (n > 0) {
      OVERLAPPED at = {};
      at.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(offset));
      at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
      const DWORD want = static_cast<DWORD>(std::min<std::int64_t>(n, 1 << 24));
      DWORD got = 0;
      if (!ReadFile(handle_.Get(), buffer, want, &got, &at) || got == 0) break;
      buffer += got;
      offset += got;
      n -= got;
      total += got;
    }
    return total;
  }

  FileHandle handle_;
  std::string buffer_;
  std::int64_t buffered_at_ = 0;
  std::int64_t buffered_ = 0;
};

// The name the system resolves an open handle to, with its volume
// ("\??\C:\..." under Wine, "\Device\HarddiskVolume1\..." on Windows).
// Read through NtQueryObject because Wine's GetFinalPathNameByHandleW
// fails for names past 260 characters. Empty when it cannot be read.
std::wstring ResolvedNameOf(HANDLE handle) {
  using QueryObject = LONG(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
  static const auto query = reinterpret_cast<QueryObject>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryObject")));
  if (!query) return std::wstring();
  constexpr ULONG kObjectNameInformation = 1;
  struct Name {  // UNICODE_STRING
    USHORT length;
    USHORT maximum_length;
    PWSTR buffer;
  };
  std::vector<char> space(sizeof(Name) + 1024);
  for (int attempt = 0; attempt < 3; ++attempt) {
    ULONG needed = 0;
    const LONG status = query(handle, kObjectNameInformation, space.data(), static_cast<ULONG>(space.size()), &needed);
    if (status >= 0) {
      const Name* name = reinterpret_cast<const Name*>(space.data());
      return std::wstring(name->buffer, name->length / sizeof(wchar_t));
    }
    if (needed <= space.size()) return std::wstring();
    space.resize(needed);
  }
  return std::wstring();
}

bool SameFile(HANDLE a, HANDLE b) {
  BY_HANDLE_FILE_INFORMATION first;
  BY_HANDLE_FILE_INFORMATION second;
  return GetFileInformationByHandle(a, &first) && GetFileInformationByHandle(b, &second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber && first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

std::wstring WithoutTrailingDotsAndSpaces(std::wstring name) {
  while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
  return name;
}

}  // namespace

bool Win32FileSystem::Exists(const Text& path) {
  std::wstring wide;
  if (!ToExtendedPath(path, &wide)) return false;
  if (GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return false;
  // Wine cannot read the attributes of a FIFO (error 87), yet it is there:
  // taken for gone, its row would leave the list after a cleanup that left
  // it in place. The folder's listing finds it; the name must match exactly,
  // since "A.NPK." as a pattern also matches "A.NPK".
  const std::wstring name = wide.substr(wide.rfind(L'\\') + 1);
  WIN32_FIND_DATAW entry;
  FindHandle find(FindFirstFileExW(wide.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0));
  if (!find.Valid()) return false;
  do {
    if (name == entry.cFileName) return true;
  } while (FindNextFileW(find.Get(), &entry));
  return false;
}

// A Linux symbolic link under Wine shows no reparse attribute, and deleting
// or moving it acts on its target. It is found by where the open file
// resolves to: a plain file resolves to its own folder's resolved name and its
// own name. Folders above it may be links (a game kept behind a linked
// folder is still the folder the user chose); the file itself may not.
bool Win32FileSystem::IsPlainFile(const Text& path) {
  std::wstring wide;
  WIN32_FILE_ATTRIBUTE_DATA data;
  // The attributes come first: opening a FIFO could block, and asking for
  // its attributes fails.
  if (!ToExtendedPath(path, &wide) || !AttributesOf(wide, &data) || (data.dwFileAttributes & kNotAPlainFile)) {
    return false;
  }
  const std::size_t slash = wide.rfind(L'\\');
  std::wstring folder = wide.substr(0, slash);
  if (folder.back() == L':') folder += L'\\';  // the root of a drive
  const std::wstring name = wide.substr(slash + 1);

  FileHandle file(CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!file.Valid() || GetFileType(file.Get()) != FILE_TYPE_DISK || !GetFileInformationByHandle(file.Get(), &info) ||
      (info.dwFileAttributes & kNotAPlainFile)) {
    return false;
  }
  FileHandle parent(CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!parent.Valid()) return false;
  const std::wstring resolved = ResolvedNameOf(file.Get());
  std::wstring expected = ResolvedNameOf(parent.Get());
  if (resolved.empty() || expected.empty()) return false;
  if (expected.back() != L'\\') expected += L'\\';
  if (resolved == expected + name) return true;

  // Wine resolves a name without its trailing dots and spaces, so "A.NPK."
  // resolves to "...\A.NPK" whether it is a file of its own or a link to
  // "A.NPK". Only the first is plain: "A.NPK" beside it is then a different
  // file, or there is none.
  const std::wstring trimmed = WithoutTrailingDotsAndSpaces(name);
  if (trimmed == name || resolved != expected + trimmed) return false;
  FileHandle sibling(CreateFileW((folder + (folder.back() == L'\\' ? L"" : L"\\") + trimmed).c_str(),
                                 FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT,
                                 nullptr));
  return !sibling.Valid() || !SameFile(file.Get(), sibling.Get());
}

std::int32_t Win32FileSystem::LengthOf(const Text& path) {
  std::wstring wide;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!ToExtendedPath(path, &wide) || !AttributesOf(wide, &data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return -1;
  }
  return static_cast<std::int32_t>(data.nFileSizeLow);
}

std::unique_ptr<RandomAccessFile> Win32FileSystem::OpenForReading(const Text& path) {
  std::wstring wide;
  WIN32_FILE_ATTRIBUTE_DATA data;
  // Attributes first, so that a FIFO (whose attributes cannot be read under
  // Wine) is never opened: that would block.
  if (!ToExtendedPath(path, &wide) || !AttributesOf(wide, &data) ||
      (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE))) {
    return nullptr;
  }
  FileHandle file(CreateFileW(wide.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
  if (!file.Valid() || GetFileType(file.Get()) != FILE_TYPE_DISK) return nullptr;
  return std::make_unique<Win32File>(std::move(file));
}

bool Win32FileSystem::ReadWholeFile(const Text& path, std::string* content) {
  content->clear();
  std::unique_ptr<RandomAccessFile> file = OpenForReading(path);
  if (!file) return false;
  const std::int64_t length = file->Length();
  try {
    content->resize(static_cast<std::size_t>(length));
  } catch (const std::exception&) {  // bad_alloc, length_error
    content->clear();
    return false;  // too large to hold: unreadable
  }
  if (file->ReadAt(0, content->data(), length) != length) {
    content->clear();
    return false;
  }
  return true;
}

bool Win32FileSystem::ListFiles(const Text& folder, std::vector<Text>* names) {
  names->clear();
  std::wstring wide;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!ToExtendedPath(folder, &wide) || !AttributesOf(wide, &data) ||
      !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return false;
  }
  if (wide.back() != L'\\') wide += L'\\';
  wide += L'*';
  WIN32_FIND_DATAW entry;
  FindHandle find(FindFirstFileExW(wide.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH));
  if (!find.Valid()) return GetLastError() == ERROR_FILE_NOT_FOUND;  // an empty drive root
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;  // also "." and ".."
    names->push_back(AnsiNameFromWide(entry.cFileName));
  } while (FindNextFileW(find.Get(), &entry));
  if (GetLastError() != ERROR_NO_MORE_FILES) {
    names->clear();
    return false;
  }
  return true;
}

bool Win32FileSystem::Delete(const Text& path) {
  std::wstring wide;
  return ToExtendedPath(path, &wide) && DeleteFileW(wide.c_str());
}

bool Win32FileSystem::Move(const Text& from, const Text& to) {
  std::wstring source;
  std::wstring target;
  if (!ToExtendedPath(from, &source) || !ToExtendedPath(to, &target)) return false;
  if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_COPY_ALLOWED)) {
    // Across volumes the move is a copy and a delete, and it succeeds even
    // when the delete fails.
    return GetFileAttributesW(source.c_str()) == INVALID_FILE_ATTRIBUTES;
  }
  return CopyFileW(source.c_str(), target.c_str(), FALSE) && DeleteFileW(source.c_str());
}
