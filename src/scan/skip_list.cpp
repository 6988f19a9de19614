#include "scan/skip_list.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace {

// The body of a section starts this many bytes after its "[", whatever the
// section's name: for ImagePacks2 and SoundPacks that is inside the header,
// so the rest of the header line reads as the body's first line.
constexpr std::size_t kBodyOffset = 5;

constexpr std::string_view kLineEnd = "\r\n";

// Appends the name of one line: what stands before its first "=", when that
// "=" is not the line's first byte.
void AddNameOfLine(std::string_view line, std::vector<Text>* skipList) {
  const std::size_t equals = FindStepping(line, "=");
  if (equals != std::string_view::npos && equals > 0) skipList->emplace_back(line.substr(0, equals));
}

}  // namespace

void LoadSkipList(FileSystem& fs, const Text& path, const Text& section, std::vector<Text>* skipList) {
  if (!fs.Exists(path)) return;
  std::string content;
  fs.ReadWholeFile(path, &content);  // stays empty when the file cannot be read

  std::string_view text(content);
  text = text.substr(0, text.find('\0'));  // the text ends at the first zero byte

  const std::size_t header = FindStepping(text, "[" + section + "]");
  if (header == std::string_view::npos) return;
  const std::size_t begin = std::min(header + kBodyOffset, text.size());
  const std::size_t end = std::min(FindStepping(text, "[", begin), text.size());
  const std::string_view body = text.substr(begin, end - begin);

  // Lines end only at CR LF; the text after the last CR LF is a line too.
  // Every search starts where the one before stopped: linear in the body.
  std::size_t lineStart = 0;
  while (lineStart < body.size()) {
    const std::size_t lineEnd = std::min(FindStepping(body, kLineEnd, lineStart), body.size());
    AddNameOfLine(body.substr(lineStart, lineEnd - lineStart), skipList);
    lineStart = lineEnd + kLineEnd.size();
  }
}

Text SkipListPath(const Text& programFolder) { return JoinPath(programFolder, "Skip_Npk.ini"); }
