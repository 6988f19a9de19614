#pragma once
// Algorithms that the built-in digest library lacks (MD2) come from the
// platform's own cryptographic service where it has one.

#include <memory>
#include <string_view>

#include "scan/file_digest.h"

class FallbackDigest {
 public:
  virtual ~FallbackDigest() = default;
  virtual void Add(std::string_view chunk) = 0;
  // The digest text, or the empty text when the service failed.
  virtual Text Finish() = 0;
};

// A stream of the platform's service for `algorithm`, or nullptr when it has
// none (the digest is then the empty text, as from an unavailable service).
std::unique_ptr<FallbackDigest> OpenFallbackDigest(DigestAlgorithm algorithm);
