#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/sha.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "net/Base64.h"
#include "net/Base64Stream.h"
#include "net/Digest.h"
#include "net/ReadOnlyMemoryStream.h"
#include "net/Win32LargeStream.h"
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

std::string OpenSslBase64(const void* data, size_t size) {
  std::vector<unsigned char> out(4 * ((size + 2) / 3) + 1);
  const int n = EVP_EncodeBlock(out.data(), static_cast<const unsigned char*>(data), static_cast<int>(size));
  return std::string(reinterpret_cast<const char*>(out.data()), static_cast<size_t>(n));
}

// Reads a stream to its end in pieces of `capacity` bytes.
std::string ReadInPieces(net::Stream& stream, uint32_t capacity) {
  std::string all;
  std::string piece(capacity, '\0');
  uint32_t got = 0;
  while (stream.ReadBytes(piece.data(), capacity, got)) all.append(piece, 0, got);
  return all;
}

std::unique_ptr<net::Base64Stream> Base64Of(const std::string& bytes) {
  return net::Base64Stream::Create(
      std::make_unique<net::ReadOnlyMemoryStream>(bytes.data(), static_cast<uint32_t>(bytes.size())));
}

std::string StreamBase64(const std::string& bytes) {
  auto stream = Base64Of(bytes);
  EXPECT_EQ(stream->GetSize(), (bytes.size() + 2) / 3 * 4);
  return ReadInPieces(*stream, 1000);
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

TEST(Base64, RandomInputsAgreeWithOpenSslOnEveryKernel) {
  std::vector<net::Base64::Kernel> kernels{net::Base64::Kernel::kPlain};
  if (net::Base64::BestKernel() != net::Base64::Kernel::kPlain) kernels.push_back(net::Base64::Kernel::kSsse3);
  if (net::Base64::BestKernel() == net::Base64::Kernel::kAvx2) kernels.push_back(net::Base64::Kernel::kAvx2);
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    std::string data(round < 190 ? rng() % 300 : 3000 + rng() % 3000, '\0');
    for (char& c : data) c = static_cast<char>(rng());
    const std::string want = OpenSslBase64(data.data(), data.size());
    ASSERT_EQ(net::Base64::Encode(data.data(), data.size()), want);
    ASSERT_EQ(StreamBase64(data), want) << "length " << data.size();
    const size_t groups = data.size() / 3;
    for (net::Base64::Kernel kernel : kernels) {
      std::string out(groups * 4, '\0');
      net::Base64::EncodeGroups(reinterpret_cast<const uint8_t*>(data.data()), groups, out.data(), kernel);
      ASSERT_EQ(out, want.substr(0, groups * 4)) << "kernel " << static_cast<int>(kernel);
    }
  }
}

// A photo file as a request body reads it: large pieces straight into the
// reader's memory, with the last group's 0, 1 or 2 bytes.
TEST(Base64, StreamOverAFileReadsInPiecesBytesAndBlocks) {
  testsupport::TempDeviceRoot root;
  std::mt19937 rng(11);
  for (size_t size : {size_t{600000}, size_t{600001}, size_t{600002}}) {
    std::string data(size, '\0');
    for (char& c : data) c = static_cast<char>(rng());
    auto file = net::Win32LargeStream::CreateTemporary();
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(file->Write(data.data(), static_cast<uint32_t>(data.size())));
    auto stream = net::Base64Stream::Create(std::move(file));
    ASSERT_NE(stream, nullptr);
    const std::string want = OpenSslBase64(data.data(), data.size());
    ASSERT_EQ(stream->GetSize(), want.size());
    ASSERT_TRUE(ReadInPieces(*stream, 512 * 1024 + 3) == want) << size;
    EXPECT_EQ(stream->GetPosition(), want.size());

    // From anywhere, by bytes and by blocks.
    const uint32_t from = static_cast<uint32_t>(want.size() / 2 + size % 3);
    ASSERT_TRUE(stream->Seek(from));
    std::string rest;
    uint8_t ch = 0;
    for (int i = 0; i < 5 && stream->ReadByte(ch); ++i) rest.push_back(static_cast<char>(ch));
    const uint8_t* block = nullptr;
    uint32_t length = 0;
    while (stream->ReadBlock(block, length)) rest.append(reinterpret_cast<const char*>(block), length);
    EXPECT_TRUE(rest == want.substr(from)) << size;
    EXPECT_FALSE(stream->Seek(static_cast<uint32_t>(want.size()) + 1));
    EXPECT_FALSE(stream->PeekByte(ch));
  }
}

}  // namespace
