#pragma once
// Digests from Windows CryptoAPI (the RSA/AES provider type, which offers
// every algorithm of the table; PROV_RSA_FULL lacks SHA-2). Serves MD2, which
// the digest library lacks, and lets tests and benchmarks compare the two.

#include <string_view>

#include "scan/fallback_digest.h"

// The CryptoAPI digest text of `content`; the empty text for a selector
// outside 0..7 (no service call) or when a call fails.
Text CryptoApiDigest(std::string_view content, DigestAlgorithm algorithm);

// A CryptoAPI stream, or nullptr for a selector outside 0..7.
std::unique_ptr<FallbackDigest> OpenCryptoApiDigest(DigestAlgorithm algorithm);
