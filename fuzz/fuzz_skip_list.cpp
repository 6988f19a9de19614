// Arbitrary bytes as Skip_Npk.ini, read for both sections. Checked, for
// names appended after one already in the list: the earlier name stays
// first; nothing comes when the text holds no header of the section; every
// name is non-empty and holds no zero byte and, at a character boundary, no
// "=", no "[" and no CR LF (a trail byte may be any of these); the names
// stand in the text in their order, each followed by its "=".

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "memory_file_system.h"
#include "scan/skip_list.h"

namespace {
const Text kProgram = "C:\\Tool";
const Text kEarlier = "Earlier.NPK";
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string content(reinterpret_cast<const char*>(data), size);
  const std::string_view text = std::string_view(content).substr(0, content.find('\0'));
  MemoryFileSystem fs;
  const Text path = SkipListPath(kProgram);
  fs.AddFile(path, content);

  for (const Text section : {"ImagePacks2", "SoundPacks"}) {
    std::vector<Text> names{kEarlier};
    LoadSkipList(fs, path, section, &names);
    FUZZ_CHECK(!names.empty() && names[0] == kEarlier);
    if (FindStepping(text, "[" + section + "]") == std::string_view::npos) FUZZ_CHECK(names.size() == 1);

    std::size_t at = 0;
    for (std::size_t i = 1; i < names.size(); ++i) {
      const Text& name = names[i];
      FUZZ_CHECK(!name.empty());
      FUZZ_CHECK(name.find('\0') == Text::npos);
      FUZZ_CHECK(FindStepping(name, "=") == Text::npos);
      FUZZ_CHECK(FindStepping(name, "[") == Text::npos);
      FUZZ_CHECK(FindStepping(name, "\r\n") == Text::npos);
      at = text.find(name + "=", at);
      FUZZ_CHECK(at != std::string_view::npos);
      at += name.size() + 1;
    }
  }
  return 0;
}
