#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "net/Win32LargeStream.h"
#include "platform/DeviceFileSystem.h"
#include "tests/support/TempDeviceRoot.h"

namespace {

std::string Pattern(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) {
    s[i] = static_cast<char>('A' + (i * 7 + i / 251) % 26);
  }
  return s;
}

std::string ReadAllBytes(net::Stream& s) {
  std::string out;
  uint8_t c = 0;
  while (s.ReadByte(c)) {
    out.push_back(static_cast<char>(c));
  }
  return out;
}

std::string HostFileText(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> TempFiles(testsupport::TempDeviceRoot& root) {
  std::vector<platform::FileInfo> infos;
  root.Fs().Enumerate("\\Temp", infos);
  std::vector<std::string> names;
  for (const auto& info : infos) {
    names.push_back(info.name);
  }
  return names;
}

class FileStreamTest : public ::testing::Test {
 protected:
  testsupport::TempDeviceRoot root_;
};

TEST_F(FileStreamTest, TemporaryStreamLivesInTempAndLeavesNoFile) {
  {
    auto s = net::Win32LargeStream::CreateTemporary();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(platform::PhoneFolderOf(s->Path()), "\\Temp");
    EXPECT_EQ(platform::PhoneFileName(s->Path()).substr(0, 3), "tmp");
    EXPECT_EQ(TempFiles(root_).size(), 1u);
    ASSERT_TRUE(s->Write("some bytes", 10));
  }
  EXPECT_TRUE(TempFiles(root_).empty());
}

TEST_F(FileStreamTest, SizeCountsBufferedWritesAndReadsBackAcrossChunks) {
  auto s = net::Win32LargeStream::CreateTemporary();
  ASSERT_NE(s, nullptr);
  const std::string data = Pattern(3 * 4096 + 123);
  ASSERT_TRUE(s->Write(data.data(), 10));
  EXPECT_EQ(s->GetSize(), 10u);  // pending bytes are flushed first
  ASSERT_TRUE(s->Write(data.data() + 10, static_cast<uint32_t>(data.size() - 10)));
  EXPECT_EQ(s->GetSize(), data.size());
  EXPECT_EQ(s->GetPosition(), 0u);  // writes do not move the logical position

  ASSERT_TRUE(s->Seek(0));
  EXPECT_EQ(ReadAllBytes(*s), data);
  EXPECT_EQ(s->GetPosition(), data.size());
  uint8_t c = 0;
  EXPECT_FALSE(s->PeekByte(c));

  ASSERT_TRUE(s->Seek(4096 + 5));
  ASSERT_TRUE(s->PeekByte(c));
  EXPECT_EQ(c, static_cast<uint8_t>(data[4096 + 5]));
  EXPECT_EQ(s->GetPosition(), 4096u + 5);
}

TEST_F(FileStreamTest, ReadBlockWalksTheFileAndKeepsByteReadsIntact) {
  auto s = net::Win32LargeStream::CreateTemporary();
  ASSERT_NE(s, nullptr);
  const std::string data = Pattern(2 * 4096 + 10);
  ASSERT_TRUE(s->Write(data.data(), static_cast<uint32_t>(data.size())));
  ASSERT_TRUE(s->Seek(0));

  // A few bytes by ReadByte, then the rest by blocks: nothing may be skipped.
  std::string got;
  uint8_t c = 0;
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(s->ReadByte(c));
    got.push_back(static_cast<char>(c));
  }
  const uint8_t* block = nullptr;
  uint32_t length = 0;
  while (s->ReadBlock(block, length)) {
    ASSERT_LE(length, 4096u);
    got.append(reinterpret_cast<const char*>(block), length);
  }
  EXPECT_EQ(got, data);
}

TEST_F(FileStreamTest, NamedFileIsKeptWithEveryWrittenByte) {
  const std::string path = "\\My Documents\\answer.bin";
  std::unique_ptr<platform::File> file;
  ASSERT_EQ(root_.Fs().OpenFile(path, platform::OpenMode::CreateAlways, file), 0u);
  file.reset();

  const std::string data = Pattern(5000);
  {
    auto s = net::Win32LargeStream::CreateOverPath(path);
    ASSERT_NE(s, nullptr);
    // The tail stays in the buffer until the stream is destroyed.
    ASSERT_TRUE(s->Write(data.data(), static_cast<uint32_t>(data.size())));
  }
  EXPECT_EQ(HostFileText(root_.Host(path)), data);

  auto again = net::Win32LargeStream::CreateOverPath(path);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->GetSize(), data.size());
  EXPECT_EQ(ReadAllBytes(*again), data);
}

TEST_F(FileStreamTest, FactoriesAnswerNothingOnFailure) {
  EXPECT_EQ(net::Win32LargeStream::CreateOverPath("\\My Documents\\missing.bin"), nullptr);
  EXPECT_EQ(net::Win32LargeStream::CreateOverPath("\\..\\outside"), nullptr);
  EXPECT_EQ(net::Win32LargeStream::CreateOverPath(""), nullptr);
  EXPECT_EQ(net::Win32LargeStream::CreateOverFile(nullptr), nullptr);

  // No temporary folder can be made where a plain file holds its name.
  std::filesystem::remove_all(root_.HostRoot() / "Temp");
  std::ofstream(root_.HostRoot() / "Temp") << "in the way";
  EXPECT_EQ(net::Win32LargeStream::CreateTemporary(), nullptr);
}

TEST_F(FileStreamTest, FailedFlushFailsSizeSeekReadAndWrite) {
  auto s = net::Win32LargeStream::CreateTemporary();
  ASSERT_NE(s, nullptr);
  ASSERT_TRUE(s->Write("pending", 7));
  root_.Fs().SetWriteFault([](const std::string&, uint32_t) { return uint32_t{112}; });
  EXPECT_EQ(s->GetSize(), 0u);
  EXPECT_FALSE(s->Seek(0));
  const uint8_t* block = nullptr;
  uint32_t length = 0;
  EXPECT_FALSE(s->ReadBlock(block, length));
  const std::string more(4096, 'm');
  EXPECT_FALSE(s->Write(more.data(), 4096));  // the full buffer cannot go out
  // The buffered bytes are still there once the disk has room again.
  root_.Fs().SetWriteFault(nullptr);
  EXPECT_EQ(s->GetSize(), 4096u);
}

TEST_F(FileStreamTest, LongWritesAndBulkReadsKeepEveryByteInOrder) {
  auto s = net::Win32LargeStream::CreateTemporary();
  ASSERT_NE(s, nullptr);
  // Short writes before and between long ones: the long ones pass the buffer by and
  // must still land behind what was buffered.
  const std::string all = Pattern(10 + 20000 + 5 + 8192 + 4096 + 3);
  size_t at = 0;
  for (size_t n : {10, 20000, 5, 8192, 4096, 3}) {
    ASSERT_TRUE(s->Write(all.data() + at, static_cast<uint32_t>(n))) << n;
    at += n;
  }
  EXPECT_EQ(s->GetSize(), all.size());
  EXPECT_EQ(HostFileText(root_.Host(s->Path())), all);

  // Bulk reads take the bytes read ahead by ReadByte first, then the file.
  ASSERT_TRUE(s->Seek(0));
  std::string got;
  uint8_t c = 0;
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(s->ReadByte(c));
    got.push_back(static_cast<char>(c));
  }
  std::vector<char> piece(7000);
  uint32_t length = 0;
  ASSERT_TRUE(s->ReadBytes(piece.data(), 100, length));
  EXPECT_EQ(length, 100u);
  got.append(piece.data(), length);
  while (s->ReadBytes(piece.data(), static_cast<uint32_t>(piece.size()), length)) {
    got.append(piece.data(), length);
    if (got.size() < all.size()) {
      // Byte reads go on where the bulk read stopped.
      ASSERT_TRUE(s->ReadByte(c));
      got.push_back(static_cast<char>(c));
    }
  }
  EXPECT_EQ(length, 0u);
  EXPECT_EQ(got, all);
  EXPECT_EQ(s->GetPosition(), all.size());

  // Pending writes reach the file before a bulk read of it.
  ASSERT_TRUE(s->Write("tail", 4));
  EXPECT_FALSE(s->ReadBytes(piece.data(), 10, length));
  EXPECT_EQ(s->GetSize(), all.size() + 4);
}

}  // namespace
