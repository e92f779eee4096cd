#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "net/CompoundStream.h"
#include "net/ReadOnlyMemoryStream.h"
#include "net/Win32LargeStream.h"
#include "net/Win32SmallStream.h"
#include "tests/support/TempDeviceRoot.h"

namespace {

std::unique_ptr<net::Stream> Memory(const std::string& text) {
  auto s = net::Win32SmallStream::Create();
  EXPECT_TRUE(s->Write(text.data(), static_cast<uint32_t>(text.size())));
  return s;
}

std::string ReadBytes(net::Stream& s) {
  std::string out;
  uint8_t c = 0;
  while (s.ReadByte(c)) {
    out.push_back(static_cast<char>(c));
  }
  return out;
}

std::string ReadBlocks(net::Stream& s) {
  std::string out;
  const uint8_t* data = nullptr;
  uint32_t length = 0;
  while (s.ReadBlock(data, length)) {
    out.append(reinterpret_cast<const char*>(data), length);
  }
  return out;
}

TEST(CompoundStream, ReadsFirstThenSecondByBytesAndBlocks) {
  net::CompoundStream s(Memory("HEAD\r\n"), Memory("body"));
  EXPECT_EQ(s.GetSize(), 10u);
  EXPECT_EQ(s.GetPosition(), 0u);
  EXPECT_EQ(ReadBytes(s), "HEAD\r\nbody");
  EXPECT_EQ(s.GetPosition(), 10u);

  ASSERT_TRUE(s.Seek(0));
  EXPECT_EQ(ReadBlocks(s), "HEAD\r\nbody");
  EXPECT_EQ(s.GetPosition(), 10u);
}

TEST(CompoundStream, EmptyFirstPartStartsInTheSecond) {
  net::CompoundStream s(Memory(""), Memory("only"));
  uint8_t c = 0;
  ASSERT_TRUE(s.PeekByte(c));
  EXPECT_EQ(c, 'o');
  EXPECT_EQ(s.GetPosition(), 0u);
  EXPECT_EQ(ReadBlocks(s), "only");
}

TEST(CompoundStream, SeekLandsInEitherPart) {
  net::CompoundStream s(Memory("abc"), Memory("defg"));
  ASSERT_TRUE(s.Seek(5));
  EXPECT_EQ(ReadBytes(s), "fg");
  ASSERT_TRUE(s.Seek(1));
  EXPECT_EQ(ReadBytes(s), "bcdefg");  // the second part was rewound too
  ASSERT_TRUE(s.Seek(3));
  EXPECT_EQ(ReadBytes(s), "defg");
  EXPECT_FALSE(s.Seek(8));
}

TEST(CompoundStream, JoinsHeaderTextAndAFileBody) {
  testsupport::TempDeviceRoot root;
  auto body = net::Win32LargeStream::CreateTemporary();
  ASSERT_NE(body, nullptr);
  std::string content(9000, '\0');
  for (size_t i = 0; i < content.size(); ++i) {
    content[i] = static_cast<char>(i % 251);
  }
  ASSERT_TRUE(body->Write(content.data(), static_cast<uint32_t>(content.size())));

  static const char kHeader[] = "POST /ws/ HTTP/1.1\r\n\r\n";
  net::CompoundStream s(std::make_unique<net::ReadOnlyMemoryStream>(kHeader, sizeof kHeader - 1), std::move(body));
  EXPECT_EQ(s.GetSize(), sizeof kHeader - 1 + content.size());
  EXPECT_EQ(ReadBlocks(s), kHeader + content);
  ASSERT_TRUE(s.Seek(0));
  EXPECT_EQ(ReadBytes(s), kHeader + content);
}

TEST(CompoundStream, BulkReadsCrossFromTheFirstPartIntoTheSecond) {
  testsupport::TempDeviceRoot root;
  auto file = net::Win32LargeStream::CreateTemporary();
  ASSERT_NE(file, nullptr);
  std::string body(10000, '\0');
  for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>('a' + i % 23);
  ASSERT_TRUE(file->Write(body.data(), static_cast<uint32_t>(body.size())));
  ASSERT_TRUE(file->Seek(0));
  net::CompoundStream s(Memory("HEAD\r\n"), std::move(file));

  uint8_t c = 0;
  ASSERT_TRUE(s.ReadByte(c));
  char piece[4000];
  uint32_t length = 0;
  ASSERT_TRUE(s.ReadBytes(piece, sizeof piece, length));
  ASSERT_EQ(length, sizeof piece);
  EXPECT_EQ(std::string(piece, length), "EAD\r\n" + body.substr(0, sizeof piece - 5));
  EXPECT_EQ(s.GetPosition(), 1 + sizeof piece);
  EXPECT_EQ(ReadBlocks(s), body.substr(sizeof piece - 5));
  EXPECT_FALSE(s.ReadBytes(piece, sizeof piece, length));
  EXPECT_EQ(length, 0u);

  // After a seek into the second part, a bulk read starts right there.
  ASSERT_TRUE(s.Seek(6 + 9990));
  ASSERT_TRUE(s.ReadBytes(piece, sizeof piece, length));
  EXPECT_EQ(std::string(piece, length), body.substr(9990));
  EXPECT_EQ(s.GetPosition(), 6 + body.size());
}

TEST(CompoundStream, BulkReadOfMemoryPartsStopsAtTheEnd) {
  net::CompoundStream s(Memory(""), Memory("only the body"));
  char piece[64];
  uint32_t length = 0;
  ASSERT_TRUE(s.ReadBytes(piece, 4, length));
  EXPECT_EQ(std::string(piece, length), "only");
  ASSERT_TRUE(s.ReadBytes(piece, sizeof piece, length));
  EXPECT_EQ(std::string(piece, length), " the body");
  EXPECT_FALSE(s.ReadBytes(piece, sizeof piece, length));
}

}  // namespace
