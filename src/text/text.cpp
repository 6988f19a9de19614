#include "text/text.h"

Text JoinPath(std::string_view left, std::string_view right) {
  Text joined;
  joined.reserve(left.size() + 1 + right.size());
  joined.append(left);
  joined.push_back('\\');
  joined.append(right);
  return joined;
}

Text HexText(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  Text text;
  text.reserve(bytes.size() * 2);
  for (unsigned char byte : bytes) {
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 0x0F]);
  }
  return text;
}

std::size_t FindStepping(std::string_view text, std::string_view needle, std::size_t from) {
  if (needle.empty()) return from <= text.size() ? from : std::string_view::npos;
  std::size_t i = from;
  while (i < text.size() && text.size() - i >= needle.size()) {
    if (text.compare(i, needle.size(), needle) == 0) return i;
    i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1;
  }
  return std::string_view::npos;
}

static char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}
