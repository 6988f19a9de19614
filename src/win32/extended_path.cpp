#include "win32/extended_path.h"

#include <windows.h>

#include <vector>

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool WideFromAnsi(const Text& ansi, std::wstring* wide) {
  wide->clear();
  if (ansi.empty()) return true;
  const int count = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), static_cast<int>(ansi.size()),
                                        nullptr, 0);
  if (count <= 0) return false;
  wide->resize(static_cast<std::size_t>(count));
  return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), static_cast<int>(ansi.size()),
                             wide->data(), count) == count;
}

// One of the calls that fill a buffer and return the length they need
// (GetCurrentDirectoryW, GetFullPathNameW).
template <typename Fill>
std::wstring Fetch(Fill fill) {
  std::wstring text(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    const DWORD got = fill(static_cast<DWORD>(text.size()), text.data());
    if (got == 0) return std::wstring();
    if (got < text.size()) {
      text.resize(got);
      return text;
    }
    text.resize(got + 1);
  }
  return std::wstring();
}

// Joins the folders of `rest` onto `root` (which ends in "\"), one
// separator each, resolving "." and ".."; ".." never climbs above the root.
std::wstring JoinFolders(std::wstring root, std::wstring_view rest) {
  std::vector<std::wstring_view> parts;
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = start;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    const std::wstring_view part = rest.substr(start, end - start);
    if (part == L"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != L".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) root += L'\\';
    root += parts[i];
  }
  return root;
}

bool HoldsForbiddenCharacter(std::wstring_view path) {
  for (wchar_t c : path) {
    if (c < 0x20 || c == L'*' || c == L'?' || c == L'"' || c == L'<' || c == L'>' || c == L'|' || c == L':') {
      return true;
    }
  }
  return false;
}

bool StartsWithUnc(std::wstring_view path) {
  return path.size() >= 4 && (path[0] == L'U' || path[0] == L'u') && (path[1] == L'N' || path[1] == L'n') &&
         (path[2] == L'C' || path[2] == L'c') && IsSeparator(path[3]);
}

bool Extend(std::wstring_view path, std::wstring* extended, bool may_be_relative) {
  const std::size_t n = path.size();
  // "\\?\" and "\\.\" forms: only the ones that name a drive or a UNC share
  // are taken; devices and volume names are not files of a game folder.
  if (n >= 4 && IsSeparator(path[0]) && IsSeparator(path[1]) && (path[2] == L'?' || path[2] == L'.') &&
      IsSeparator(path[3])) {
    const std::wstring_view inner = path.substr(4);
    if (StartsWithUnc(inner)) return Extend(std::wstring(L"\\\\") + std::wstring(inner.substr(4)), extended, false);
    return Extend(inner, extended, false);
  }
  std::wstring root;
  std::wstring_view rest;
  if (n >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    root = L"\\\\?\\UNC\\";  // \\server\share\...
    rest = path.substr(2);
  } else if (n >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2])) {
    root = std::wstring(L"\\\\?\\") + path[0] + L":\\";
    rest = path.substr(3);
  } else if (may_be_relative) {
    // Relative: to the current directory, to the current drive's root
    // ("\x"), or to the current directory of a drive ("C:x").
    std::wstring base;
    std::wstring_view tail = path;
    if (n >= 2 && IsDriveLetter(path[0]) && path[1] == L':') {
      const wchar_t drive[] = {path[0], L':', L'\0'};
      base = Fetch([&](DWORD size, wchar_t* buffer) { return GetFullPathNameW(drive, size, buffer, nullptr); });
      tail = tail.substr(2);
    } else if (n >= 1 && IsSeparator(path[0])) {
      base = Fetch([](DWORD size, wchar_t* buffer) { return GetFullPathNameW(L"\\", size, buffer, nullptr); });
    } else {
      base = Fetch([](DWORD size, wchar_t* buffer) { return GetCurrentDirectoryW(size, buffer); });
    }
    if (base.empty()) return false;
    return Extend(base + L'\\' + std::wstring(tail), extended, false);
  } else {
    return false;
  }
  if (HoldsForbiddenCharacter(rest)) return false;
  *extended = JoinFolders(std::move(root), rest);
  return true;
}

}  // namespace

bool ToExtendedPath(const Text& path, std::wstring* extended) {
  extended->clear();
  std::wstring wide;
  if (path.empty() || !WideFromAnsi(path, &wide)) return false;
  return Extend(wide, extended, true);
}

namespace {

// Converts `wide` and reports whether it converts back to the same text.
bool ConvertExactly(std::wstring_view wide, Text* ansi) {
  ansi->clear();
  if (wide.empty()) return true;
  // The UTF-8 code page takes neither flag.
  const bool utf8 = GetACP() == CP_UTF8;
  BOOL used_default = FALSE;
  const int size = static_cast<int>(wide.size());
  const int count = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0,
                                        nullptr, utf8 ? nullptr : &used_default);
  if (count <= 0) return false;
  ansi->resize(static_cast<std::size_t>(count));
  WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide.data(), size, ansi->data(), count, nullptr,
                      utf8 ? nullptr : &used_default);
  std::wstring back;
  return !used_default && WideFromAnsi(*ansi, &back) && back == wide;
}

}  // namespace

Text AnsiNameFromWide(std::wstring_view wide) {
  Text whole;
  if (ConvertExactly(wide, &whole)) return whole;
  // Character by character (a surrogate pair is one character), so that
  // only what does not survive the round trip becomes "?".
  Text ansi;
  for (std::size_t i = 0; i < wide.size();) {
    std::size_t length = 1;
    if (wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
        wide[i + 1] <= 0xDFFF) {
      length = 2;
    }
    Text one;
    ansi += ConvertExactly(wide.substr(i, length), &one) ? one : Text("?");
    i += length;
  }
  return ansi;
}
