#pragma once
// Real folders and files for the tests under Wine, made, read and removed
// with the wide Win32 functions directly, apart from the code under test;
// and Linux commands for what only Linux can make there (symbolic links,
// FIFOs) or remove safely.

#include <windows.h>

#include <string>

#include "text/text.h"
#include "win32/scoped_handle.h"

// Creates a new file with `content`; false when it exists or cannot be made.
bool MakeWideFile(const std::wstring& path, const std::string& content, DWORD attributes = FILE_ATTRIBUTE_NORMAL);

// The content of a file (up to 64 KiB), or "<unreadable>".
std::string WideFileContent(const std::wstring& path);

// True when the folder lists an entry of exactly this name: a file, a
// folder, a link or a FIFO (whose attributes Wine cannot read).
bool WidePathListed(const std::wstring& path);

// Removes a folder and everything in it with the Win32 functions. A linked
// folder is removed as a name, never entered.
void RemoveTree(const std::wstring& folder);

// Under Wine a Linux program can be started like a Windows one. It gets no
// process handle, so the caller waits for its effect.
class UnixCommands {
 public:
  UnixCommands();
  bool UnderWine() const { return to_unix_ && to_dos_; }

  // The Linux path of a Windows path (ASCII folders), or empty.
  std::wstring UnixPath(const std::wstring& path) const;

  // Runs `program` with `arguments` and waits (up to 10 s) until `done`.
  template <typename Done>
  bool Run(const char* program, const std::wstring& arguments, Done done) const {
    if (!Start(program, arguments)) return false;
    for (int waited = 0; waited < 10000; waited += 20) {
      if (done()) return true;
      Sleep(20);
    }
    return false;
  }

  // Runs `program` and waits until `path` is listed.
  bool RunUntilListed(const char* program, const std::wstring& arguments, const std::wstring& path) const {
    return Run(program, arguments, [&] { return WidePathListed(path); });
  }

  // Makes `name` in `folder` a link to `target`. The link's Linux path is
  // formed from its folder's: Wine would map "a.npk" onto an existing
  // "A.NPK".
  bool Link(const std::wstring& folder, const std::wstring& name, const std::wstring& target) const;

  // Makes a FIFO at `path`.
  bool Fifo(const std::wstring& path) const;

  // Removes a temporary folder of the tests (its name starts "orvane-") with
  // what Windows cannot remove in it: FIFOs, and links, whose Win32 delete
  // would reach their targets.
  bool RemoveTestFolder(const std::wstring& folder) const;

 private:
  bool Start(const char* program, const std::wstring& arguments) const;

  using ToUnix = char*(CDECL*)(LPCWSTR);
  using ToDos = WCHAR*(CDECL*)(LPCSTR);
  ToUnix to_unix_ = nullptr;
  ToDos to_dos_ = nullptr;
};

// A new empty folder "orvane-NAME-PID-N" in the temporary folder, removed
// with everything in it at the end. Its path is ASCII, so it reads the same
// in every code page.
class TemporaryFolder {
 public:
  explicit TemporaryFolder(const std::wstring& name);
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const Text& Path() const { return path_; }          // C:\...\orvane-NAME-PID-N
  const std::wstring& Wide() const { return wide_; }  // \\?\C:\...\orvane-NAME-PID-N

 private:
  Text path_;
  std::wstring wide_;
};
