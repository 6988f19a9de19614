// Debian's prebuilt GoogleTest was compiled without char8_t, so it lacks the
// printer for std::u8string that its C++20 headers call. Print the UTF-8
// bytes as they are. (The Windows build compiles GoogleTest from source in
// C++20, which has its own.)

#include <ostream>
#include <string>

namespace testing::internal {
void PrintU8StringTo(const std::u8string& s, std::ostream* os) {
  *os << '"' << std::string(s.begin(), s.end()) << '"';
}
}  // namespace testing::internal
