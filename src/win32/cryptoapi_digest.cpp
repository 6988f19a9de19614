// CryptoAPI digests. A failing call leaves the stream spent, and the result
// is the empty text.

#include <windows.h>
#include <wincrypt.h>

#include <algorithm>

#include "win32/cryptoapi_digest.h"

namespace {

// CryptHashData takes a DWORD length: larger chunks are fed in slices.
constexpr std::size_t kMaxSliceBytes = std::size_t{1} << 30;

// 0 for a selector outside 0..7.
ALG_ID AlgorithmFor(DigestAlgorithm algorithm) {
  switch (algorithm) {
    case 0:
    case 1: return CALG_MD5;
    case 2: return CALG_MD2;
    case 3: return CALG_MD4;
    case 4: return CALG_SHA1;
    case 5: return CALG_SHA_256;
    case 6: return CALG_SHA_384;
    case 7: return CALG_SHA_512;
    default: return 0;
  }
}

// A provider context without a key container, released once.
class CryptProvider {
 public:
  CryptProvider() {
    if (!CryptAcquireContextW(&handle_, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) handle_ = 0;
  }
  ~CryptProvider() {
    if (handle_) CryptReleaseContext(handle_, 0);
  }
  CryptProvider(const CryptProvider&) = delete;
  CryptProvider& operator=(const CryptProvider&) = delete;
  HCRYPTPROV get() const { return handle_; }

 private:
  HCRYPTPROV handle_ = 0;
};

// A hash object of `provider`, destroyed once; no handle when the provider
// has none or cannot make the algorithm.
class CryptHash {
 public:
  CryptHash(HCRYPTPROV provider, ALG_ID algorithm) {
    if (!provider || !CryptCreateHash(provider, algorithm, 0, 0, &handle_)) handle_ = 0;
  }
  ~CryptHash() {
    if (handle_) CryptDestroyHash(handle_);
  }
  CryptHash(const CryptHash&) = delete;
  CryptHash& operator=(const CryptHash&) = delete;
  HCRYPTHASH get() const { return handle_; }

 private:
  HCRYPTHASH handle_ = 0;
};

// Members are destroyed in reverse order: the hash before its provider.
class CryptoApiStream : public FallbackDigest {
 public:
  explicit CryptoApiStream(ALG_ID algorithm) : hash_(provider_.get(), algorithm), ok_(hash_.get() != 0) {}

  void Add(std::string_view chunk) override {
    while (ok_ && !chunk.empty()) {
      const std::size_t slice = std::min(chunk.size(), kMaxSliceBytes);
      ok_ = CryptHashData(hash_.get(), reinterpret_cast<const BYTE*>(chunk.data()), static_cast<DWORD>(slice), 0) !=
            FALSE;
      chunk.remove_prefix(slice);
    }
  }

  Text Finish() override {
    Text text;
    DWORD length = 0;
    if (ok_ && CryptGetHashParam(hash_.get(), HP_HASHVAL, nullptr, &length, 0) && length > 0) {
      std::string bytes(length, '\0');
      if (CryptGetHashParam(hash_.get(), HP_HASHVAL, reinterpret_cast<BYTE*>(bytes.data()), &length, 0)) {
        bytes.resize(std::min<std::size_t>(length, bytes.size()));
        text = HexText(bytes);
      }
    }
    ok_ = false;
    return text;
  }

 private:
  CryptProvider provider_;
  CryptHash hash_;
  bool ok_;
};

}  // namespace

std::unique_ptr<FallbackDigest> OpenCryptoApiDigest(DigestAlgorithm algorithm) {
  const ALG_ID id = AlgorithmFor(algorithm);
  if (!id) return nullptr;  // no service call for a selector outside 0..7
  return std::make_unique<CryptoApiStream>(id);
}

Text CryptoApiDigest(std::string_view content, DigestAlgorithm algorithm) {
  std::unique_ptr<FallbackDigest> stream = OpenCryptoApiDigest(algorithm);
  if (!stream) return Text();
  stream->Add(content);
  return stream->Finish();
}

std::unique_ptr<FallbackDigest> OpenFallbackDigest(DigestAlgorithm algorithm) {
  return OpenCryptoApiDigest(algorithm);
}
