#include "real_disk.h"

#include <cstring>

bool MakeWideFile(const std::wstring& path, const std::string& content, DWORD attributes) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr));
  DWORD written = 0;
  return file.Valid() && WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
         written == content.size();
}

std::string WideFileContent(const std::wstring& path) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  std::string content(1 << 16, '\0');
  DWORD got = 0;
  if (!file.Valid() || !ReadFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &got, nullptr)) {
    return "<unreadable>";
  }
  content.resize(got);
  return content;
}

bool WidePathListed(const std::wstring& path) {
  const std::size_t slash = path.rfind(L'\\');
  const std::wstring name = path.substr(slash + 1);
  // The whole folder is listed: a pattern of the name itself would also
  // match "A.NPK" for "A.NPK.", and misses a link whose target is gone.
  WIN32_FIND_DATAW entry;
  FindHandle find(FindFirstFileExW((path.substr(0, slash) + L"\\*").c_str(), FindExInfoBasic, &entry,
                                   FindExSearchNameMatch, nullptr, 0));
  if (!find.Valid()) return false;
  do {
    if (name == entry.cFileName) return true;
  } while (FindNextFileW(find.Get(), &entry));
  return false;
}

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  FindHandle find(FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0));
  if (find.Valid()) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        RemoveTree(path);
      } else if (!DeleteFileW(path.c_str())) {
        RemoveDirectoryW(path.c_str());
      }
    } while (FindNextFileW(find.Get(), &entry));
  }
  find.Reset();
  RemoveDirectoryW(folder.c_str());
}

UnixCommands::UnixCommands() {
  HMODULE kernel = GetModuleHandleW(L"kernel32");
  to_unix_ = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_unix_file_name")));
  to_dos_ = reinterpret_cast<ToDos>(reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_dos_file_name")));
}

std::wstring UnixCommands::UnixPath(const std::wstring& path) const {
  char* unix_path = to_unix_ ? to_unix_(path.c_str()) : nullptr;
  if (!unix_path) return std::wstring();
  std::wstring wide(unix_path, unix_path + std::strlen(unix_path));  // ASCII temporary folders
  HeapFree(GetProcessHeap(), 0, unix_path);
  return wide;
}

bool UnixCommands::Start(const char* program, const std::wstring& arguments) const {
  WCHAR* dos = to_dos_ ? to_dos_(program) : nullptr;
  if (!dos) return false;
  const std::wstring application = dos;
  HeapFree(GetProcessHeap(), 0, dos);
  std::wstring command = L"\"" + application + L"\" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(application.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  FileHandle thread(process.hThread);
  FileHandle handle(process.hProcess);
  return true;
}

bool UnixCommands::Link(const std::wstring& folder, const std::wstring& name, const std::wstring& target) const {
  return RunUntilListed("/bin/ln", L"-s \"" + target + L"\" \"" + UnixPath(folder) + L"/" + name + L"\"",
                        folder + L"\\" + name);
}

bool UnixCommands::Fifo(const std::wstring& path) const {
  return RunUntilListed("/usr/bin/mkfifo", L"\"" + UnixPath(path) + L"\"", path);
}

bool UnixCommands::RemoveTestFolder(const std::wstring& folder) const {
  const std::wstring unix_path = UnixPath(folder);
  if (unix_path.find(L"/orvane-") == std::wstring::npos) return false;
  return Run("/bin/rm", L"-rf \"" + unix_path + L"\"", [&] { return !WidePathListed(folder); });
}

TemporaryFolder::TemporaryFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH + 1];
  const DWORD got = GetTempPathW(MAX_PATH + 1, temp);
  static int counter = 0;
  std::wstring base(temp, got);
  if (!base.empty() && base.back() == L'\\') base.pop_back();
  base += L"\\orvane-" + name + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-";
  // Wine reuses process ids: a folder left by an earlier run is passed by.
  std::wstring folder;
  for (int attempt = 0; attempt < 100; ++attempt) {
    folder = base + std::to_wstring(++counter);
    if (CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr)) break;
  }
  for (wchar_t c : folder) path_.push_back(static_cast<char>(c));  // the temporary folder's name is ASCII
  wide_ = L"\\\\?\\" + folder;
}

TemporaryFolder::~TemporaryFolder() {
  const UnixCommands unix_commands;
  if (!unix_commands.UnderWine() || !unix_commands.RemoveTestFolder(wide_)) RemoveTree(wide_);
}
