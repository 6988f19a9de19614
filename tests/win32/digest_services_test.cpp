// The digest library and Windows CryptoAPI give the same text for every
// selector, so moving between them changes no verdict.

#include <gtest/gtest.h>

#include <random>

#include "scan/file_digest.h"
#include "win32/cryptoapi_digest.h"

namespace {

TEST(DigestServices, LibraryMatchesCryptoApiByteForByte) {
  std::mt19937 generator(7);
  std::vector<std::string> contents = {"", "abc", std::string(1, '\0'), std::string(55, 'x'), std::string(64, 'y')};
  for (std::size_t size : {1u, 63u, 127u, 1000u, 1u << 20}) {
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(generator());
    contents.push_back(bytes);
  }
  for (DigestAlgorithm algorithm = -2; algorithm <= 9; ++algorithm) {
    for (const std::string& content : contents) {
      const Text library = FileDigest(content, algorithm);
      EXPECT_EQ(library, CryptoApiDigest(content, algorithm)) << algorithm << " size " << content.size();
      EXPECT_EQ(library.empty(), algorithm < 0 || algorithm > 7) << algorithm;
    }
  }
}

}  // namespace
