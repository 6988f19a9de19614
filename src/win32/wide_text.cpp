#include "win32/wide_text.h"

#include <windows.h>

namespace {

std::wstring WideFrom(UINT codePage, const char* bytes, std::size_t length) {
  if (length == 0) return {};
  const int size = static_cast<int>(length);
  const int wideLength = MultiByteToWideChar(codePage, 0, bytes, size, nullptr, 0);
  if (wideLength <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(codePage, 0, bytes, size, wide.data(), wideLength);
  return wide;
}

}  // namespace

std::wstring WideFromUtf8(UiText text) {
  return WideFrom(CP_UTF8, reinterpret_cast<const char*>(text.data()), text.size());
}

std::wstring WideFromAnsi(std::string_view text) { return WideFrom(CP_ACP, text.data(), text.size()); }

bool AnsiFromWide(std::wstring_view text, Text* ansi) {
  ansi->clear();
  if (text.empty()) return true;
  const int size = static_cast<int>(text.size());
  BOOL usedDefault = FALSE;
  const int length =
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0, nullptr, &usedDefault);
  if (length <= 0 || usedDefault) return false;
  ansi->resize(static_cast<std::size_t>(length));
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, ansi->data(), length, nullptr, nullptr);
  return true;
}
