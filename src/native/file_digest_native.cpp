// The digest service on Linux: OpenSSL's EVP interface. An algorithm that the
// library does not offer (MD2, and MD4 without the legacy provider) yields
// the empty text, as an unavailable service does.

#include <openssl/evp.h>

#include "scan/file_digest.h"

namespace {
const EVP_MD* AlgorithmFor(DigestAlgorithm algorithm) {
  switch (algorithm) {
    case 0:
    case 1: return EVP_md5();
    case 2: return nullptr;  // MD2 is not offered
    case 3: return EVP_md4();
    case 4: return EVP_sha1();
    case 5: return EVP_sha256();
    case 6: return EVP_sha384();
    case 7: return EVP_sha512();
    default: return nullptr;
  }
}
}  // namespace

struct DigestStream::State {
  EVP_MD_CTX* context = nullptr;
  bool ok = false;
  ~State() { EVP_MD_CTX_free(context); }
};

DigestStream::DigestStream(DigestAlgorithm algorithm) : state_(std::make_unique<State>()) {
  const EVP_MD* md = AlgorithmFor(algorithm);
  if (!md) return;
  state_->context = EVP_MD_CTX_new();
  state_->ok = state_->context && EVP_DigestInit_ex(state_->context, md, nullptr) == 1;
}

DigestStream::~DigestStream() = default;

void DigestStream::Add(std::string_view chunk) {
  if (state_->ok && !chunk.empty()) state_->ok = EVP_DigestUpdate(state_->context, chunk.data(), chunk.size()) == 1;
}

Text DigestStream::Finish() {
  if (!state_->ok) return Text();
  unsigned char bytes[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  state_->ok = false;
  if (EVP_DigestFinal_ex(state_->context, bytes, &length) != 1) return Text();
  return HexText(std::string_view(reinterpret_cast<const char*>(bytes), length));
}

Text FileDigest(std::string_view content, DigestAlgorithm algorithm) {
  DigestStream stream(algorithm);
  stream.Add(content);
  return stream.Finish();
}
