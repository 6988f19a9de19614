// Digests through libgcrypt, which uses the processor's SHA instructions
// where it has them (several times the speed of CryptoAPI under Wine).
// Algorithms it lacks go to the platform's service.

#include "scan/file_digest.h"

#include <gcrypt.h>

#include <mutex>

#include "scan/fallback_digest.h"

namespace {

// 0 for a selector outside 0..7.
int GcryptAlgorithm(DigestAlgorithm algorithm) {
  switch (algorithm) {
    case 0:
    case 1: return GCRY_MD_MD5;
    case 2: return GCRY_MD_MD2;
    case 3: return GCRY_MD_MD4;
    case 4: return GCRY_MD_SHA1;
    case 5: return GCRY_MD_SHA256;
    case 6: return GCRY_MD_SHA384;
    case 7: return GCRY_MD_SHA512;
    default: return 0;
  }
}

bool GcryptReady() {
  static std::once_flag once;
  static bool ready = false;
  std::call_once(once, [] {
    ready = gcry_check_version(GCRYPT_VERSION) != nullptr;
    gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
    gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
  });
  return ready;
}

}  // namespace

struct DigestStream::State {
  gcry_md_hd_t hash = nullptr;
  int algorithm = 0;
  std::unique_ptr<FallbackDigest> fallback;
  ~State() {
    if (hash) gcry_md_close(hash);
  }
};

DigestStream::DigestStream(DigestAlgorithm algorithm) : state_(std::make_unique<State>()) {
  const int id = GcryptAlgorithm(algorithm);
  if (id == 0) return;  // no service is asked for a selector outside the table
  if (GcryptReady() && gcry_md_test_algo(id) == 0 && gcry_md_open(&state_->hash, id, 0) == 0) {
    state_->algorithm = id;
  } else {
    state_->hash = nullptr;
    state_->fallback = OpenFallbackDigest(algorithm);
  }
}

DigestStream::~DigestStream() = default;

void DigestStream::Add(std::string_view chunk) {
  if (state_->hash) {
    gcry_md_write(state_->hash, chunk.data(), chunk.size());
  } else if (state_->fallback) {
    state_->fallback->Add(chunk);
  }
}

Text DigestStream::Finish() {
  Text text;
  if (state_->hash) {
    const unsigned char* bytes = gcry_md_read(state_->hash, state_->algorithm);
    if (bytes) text = HexText(std::string_view(reinterpret_cast<const char*>(bytes), gcry_md_get_algo_dlen(state_->algorithm)));
  } else if (state_->fallback) {
    text = state_->fallback->Finish();
  }
  state_ = std::make_unique<State>();  // spent
  return text;
}

Text FileDigest(std::string_view content, DigestAlgorithm algorithm) {
  DigestStream stream(algorithm);
  stream.Add(content);
  return stream.Finish();
}
