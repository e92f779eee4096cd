#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/sha.h>

#include <random>
#include <string>
#include <vector>

#include "net/Base64.h"
#include "net/Digest.h"
#include "net/ReadOnlyMemoryStream.h"
#include "net/Win32LargeStream.h"
#include "net/Win32SmallStream.h"
#include "tests/support/TempDeviceRoot.h"

namespace {

std::string Hex(const std::array<uint8_t, net::Digest::kSha1Size>& digest) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (uint8_t b : digest) {
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 15]);
  }
  return out;
}

std::string Sha1Hex(const std::string& text) { return Hex(net::Digest::Sha1(text.data(), text.size())); }

std::string StreamBase64(const std::string& bytes) {
  net::ReadOnlyMemoryStream source(bytes.data(), static_cast<uint32_t>(bytes.size()));
  auto out = net::Win32SmallStream::Create();
  EXPECT_TRUE(net::Base64::WriteBase64(*out, source));
  return std::string(reinterpret_cast<const char*>(out->Data()), out->GetSize());
}

TEST(Sha1, PublishedVectors) {
  EXPECT_EQ(Sha1Hex(""), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
  EXPECT_EQ(Sha1Hex("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
  EXPECT_EQ(Sha1Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
  EXPECT_EQ(Sha1Hex(std::string(1000000, 'a')), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
}

TEST(Sha1, RandomInputsAgreeWithOpenSsl) {
  // Every length up to three blocks covers the places where padding needs an extra block.
  std::mt19937 rng(42);
  for (size_t round = 0; round < 260; ++round) {
    std::string data(round < 200 ? round : rng() % 5000, '\0');
    for (char& c : data) {
      c = static_cast<char>(rng());
    }
    std::array<uint8_t, 20> expected{};
    SHA1(reinterpret_cast<const unsigned char*>(data.data()), data.size(), expected.data());
    ASSERT_EQ(net::Digest::Sha1(data.data(), data.size()), expected) << "length " << data.size();
  }
}

TEST(Base64, PublishedVectors) {
  const std::pair<const char*, const char*> vectors[] = {
      {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
  };
  for (const auto& [plain, encoded] : vectors) {
    EXPECT_EQ(StreamBase64(plain), encoded) << plain;
    EXPECT_EQ(net::Base64::Encode(plain, std::string(plain).size()), encoded) << plain;
  }
  // The two last letters of the alphabet.
  EXPECT_EQ(net::Base64::Encode("\xFB\xFF", 2), "+/8=");
}

TEST(Base64, RandomInputsAgreeWithOpenSsl) {
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    // Some inputs span several output batches of the stream writer.
    std::string data(round < 190 ? rng() % 300 : 3000 + rng() % 3000, '\0');
    for (char& c : data) {
      c = static_cast<char>(rng());
    }
    std::vector<unsigned char> expected(4 * ((data.size() + 2) / 3) + 1);
    const int n = EVP_EncodeBlock(expected.data(), reinterpret_cast<const unsigned char*>(data.data()),
                                  static_cast<int>(data.size()));
    const std::string want(reinterpret_cast<const char*>(expected.data()), static_cast<size_t>(n));
    ASSERT_EQ(StreamBase64(data), want) << "length " << data.size();
    ASSERT_EQ(net::Base64::Encode(data.data(), data.size()), want);
  }
}

TEST(Base64, FileToFileAcrossReadPiecesAgreesWithOpenSsl) {
  testsupport::TempDeviceRoot root;
  std::mt19937 rng(11);
  // Large enough for several pieces of the encoder, with 0, 1 and 2 bytes of a
  // group left at the end.
  for (size_t size : {size_t{600000}, size_t{600001}, size_t{600002}}) {
    std::string data(size, '\0');
    for (char& c : data) c = static_cast<char>(rng());
    auto source = net::Win32LargeStream::CreateTemporary();
    auto out = net::Win32LargeStream::CreateTemporary();
    ASSERT_NE(source, nullptr);
    ASSERT_NE(out, nullptr);
    ASSERT_TRUE(source->Write(data.data(), static_cast<uint32_t>(data.size())));
    ASSERT_TRUE(source->Seek(0));
    // What was already read is not encoded.
    uint8_t skipped = 0;
    ASSERT_TRUE(source->ReadByte(skipped));
    ASSERT_TRUE(out->Write("<JP>", 4));
    ASSERT_TRUE(net::Base64::WriteBase64(*out, *source));
    EXPECT_EQ(source->GetPosition(), size);

    std::vector<unsigned char> expected(4 * ((size + 2) / 3) + 1);
    const int n = EVP_EncodeBlock(expected.data(), reinterpret_cast<const unsigned char*>(data.data()) + 1,
                                  static_cast<int>(size - 1));
    const std::string want = "<JP>" + std::string(reinterpret_cast<const char*>(expected.data()), n);
    ASSERT_EQ(out->GetSize(), want.size());
    ASSERT_TRUE(out->Seek(0));
    std::string got(want.size(), '\0');
    uint32_t length = 0;
    ASSERT_TRUE(out->ReadBytes(got.data(), static_cast<uint32_t>(got.size()), length));
    EXPECT_EQ(length, want.size());
    EXPECT_TRUE(got == want) << "size " << size;
  }
}

}  // namespace
