#include "scan/file_digest.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

namespace {

// MD2 and MD4 may be missing from the native library; the Windows service
// offers both.
enum class Availability { Always, NativeMaybe, NativeNever };

struct Vector {
  DigestAlgorithm algorithm;
  Availability availability;
  const char* empty;
  const char* abc;
};

// Published test vectors (RFC 1319, 1320, 1321; FIPS 180). The SHA-256 of
// "abc" holds the bytes 01, 03 and 00: each is written with its leading zero.
const Vector kVectors[] = {
    {0, Availability::Always, "D41D8CD98F00B204E9800998ECF8427E", "900150983CD24FB0D6963F7D28E17F72"},
    {1, Availability::Always, "D41D8CD98F00B204E9800998ECF8427E", "900150983CD24FB0D6963F7D28E17F72"},
    {2, Availability::NativeNever, "8350E5A3E24C153DF2275C9F80692773", "DA853B0D3F88D99B30283A69E6DED6BB"},
    {3, Availability::NativeMaybe, "31D6CFE0D16AE931B73C59D7E0C089C0", "A448017AAF21D8525FC10AE87AA6729D"},
    {4, Availability::Always, "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709", "A9993E364706816ABA3E25717850C26C9CD0D89D"},
    {5, Availability::Always, "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855",
     "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD"},
    {6, Availability::Always,
     "38B060A751AC96384CD9327EB1B1E36A21FDB71114BE07434C0CC7BF63F6E1DA274EDEBFE76F65FBD51AD2F14898B95B",
     "CB00753F45A35E8BB5A03D699AC65007272C32AB0EDED1631A8B605A43FF5BED8086072BA1E7CC2358BAECA134C825A7"},
    {7, Availability::Always,
     "CF83E1357EEFB8BDF1542850D66D8007D620E4050B5715DC83F4A921D36CE9CE"
     "47D0D13C5D85F2B0FF8318D2877EEC2F63B931BD47417A81A538327AF927DA3E",
     "DDAF35A193617ABACC417349AE20413112E6FA4E89A97EA20A9EEEE64B55D39A"
     "2192992A274FC1A836BA3C23A3FEEBBD454D4423643CE80E2A9AC94FA54CA49F"},
};

void ExpectDigest(const Vector& v, std::string_view content, const Text& expected) {
  const Text actual = FileDigest(content, v.algorithm);
#ifdef _WIN32
  EXPECT_EQ(actual, expected);
#else
  switch (v.availability) {
    case Availability::Always: EXPECT_EQ(actual, expected); break;
    case Availability::NativeMaybe: EXPECT_TRUE(actual == expected || actual.empty()) << actual; break;
    case Availability::NativeNever: EXPECT_EQ(actual, ""); break;
  }
#endif
}

std::string PseudoRandomBytes(std::size_t size) {
  std::mt19937 generator(20240601);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(generator());
  return bytes;
}

TEST(FileDigest, PublishedVectors) {
  for (const Vector& v : kVectors) {
    SCOPED_TRACE(v.algorithm);
    ExpectDigest(v, "", v.empty);
    ExpectDigest(v, "abc", v.abc);
  }
}

TEST(FileDigest, SelectorsOutsideTheTableGiveTheEmptyText) {
  for (DigestAlgorithm algorithm : {DigestAlgorithm{8}, DigestAlgorithm{-1}, DigestAlgorithm{32767}}) {
    SCOPED_TRACE(algorithm);
    EXPECT_EQ(FileDigest("abc", algorithm), "");
    DigestStream stream(algorithm);
    stream.Add("abc");
    EXPECT_EQ(stream.Finish(), "");
  }
}

TEST(FileDigest, ZeroAndOneAreBothMd5) {
  const std::string content = PseudoRandomBytes(1000);
  EXPECT_EQ(FileDigest(content, 0), FileDigest(content, 1));
  EXPECT_EQ(FileDigest(content, 0).size(), 32u);
}

TEST(FileDigest, AnyChunkingGivesTheDigestOfTheWhole) {
  const std::string content = PseudoRandomBytes(3 * 1024 * 1024 + 123);
  const Text whole = FileDigest(content, kSha256);
  ASSERT_EQ(whole.size(), 64u);
  for (std::size_t chunk : {std::size_t{1}, std::size_t{7}, std::size_t{64}, std::size_t{1} << 20}) {
    SCOPED_TRACE(chunk);
    DigestStream stream(kSha256);
    for (std::size_t at = 0; at < content.size(); at += chunk) {
      stream.Add(std::string_view(content).substr(at, chunk));
    }
    EXPECT_EQ(stream.Finish(), whole);
  }
}

}  // namespace
