#pragma once
// Message digests as upper-case hexadecimal text.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "text/text.h"

// 0 and 1 MD5, 2 MD2, 3 MD4, 4 SHA-1, 5 SHA-256, 6 SHA-384, 7 SHA-512.
using DigestAlgorithm = std::int16_t;
inline constexpr DigestAlgorithm kSha256 = 5;

// The digest of `content` as two upper-case hex digits per byte. The empty
// text for a selector outside 0..7 or when the service cannot make it.
Text FileDigest(std::string_view content, DigestAlgorithm algorithm);

// The same digest fed in chunks: any chunking gives the same text as one
// FileDigest call over the whole content.
class DigestStream {
 public:
  explicit DigestStream(DigestAlgorithm algorithm);
  ~DigestStream();
  DigestStream(const DigestStream&) = delete;
  DigestStream& operator=(const DigestStream&) = delete;

  void Add(std::string_view chunk);
  // The digest text of everything added; the stream is spent afterwards.
  Text Finish();

  struct State;  // defined by the platform's digest service

 private:
  std::unique_ptr<State> state_;
};
