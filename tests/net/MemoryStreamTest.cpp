#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "net/ReadOnlyMemoryStream.h"
#include "net/SmallStream.h"
#include "net/Win32SmallStream.h"

namespace {

std::string ReadAll(net::Stream& s) {
  std::string out;
  uint8_t c = 0;
  while (s.ReadByte(c)) {
    out.push_back(static_cast<char>(c));
  }
  return out;
}

// A fixed buffer that records every Grow request and refuses it.
class RefusingStream : public net::SmallStream {
 public:
  explicit RefusingStream(uint32_t capacity) : storage_(capacity) {
    data_ = storage_.data();
    capacity_ = capacity;
  }
  bool Grow(uint32_t required) override {
    asked.push_back(required);
    return false;
  }
  std::vector<uint32_t> asked;

 private:
  std::vector<uint8_t> storage_;
};

TEST(SmallStream, WriteThatExactlyFillsTheBufferAsksGrowFirst) {
  RefusingStream s(8);
  ASSERT_TRUE(s.Write("1234567", 7));
  EXPECT_TRUE(s.asked.empty());
  ASSERT_TRUE(s.Seek(0));
  EXPECT_FALSE(s.Write("abcdefgh", 8));
  EXPECT_EQ(s.asked, std::vector<uint32_t>{8});
  // The refused write changed nothing.
  EXPECT_EQ(s.GetSize(), 7u);
  EXPECT_EQ(s.GetPosition(), 0u);
  EXPECT_EQ(ReadAll(s), "1234567");
}

TEST(SmallStream, GrowsInBlocksOf4096) {
  auto s = net::Win32SmallStream::Create();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Capacity(), 0u);
  ASSERT_TRUE(s->Write("x", 1));
  EXPECT_EQ(s->Capacity(), 4096u);

  std::vector<uint8_t> chunk(4095, 'y');
  ASSERT_TRUE(s->Write(chunk.data(), 4095));  // exactly to 4096
  EXPECT_EQ(s->Capacity(), 4096u);
  ASSERT_TRUE(s->Write("z", 1));  // 4097
  EXPECT_EQ(s->Capacity(), 8192u);
  EXPECT_EQ(s->GetSize(), 4097u);

  ASSERT_TRUE(s->Seek(0));
  const std::string all = ReadAll(*s);
  EXPECT_EQ(all, "x" + std::string(4095, 'y') + "z");
}

TEST(SmallStream, SeekAndReadsStopAtTheLength) {
  auto s = net::Win32SmallStream::Create();
  ASSERT_TRUE(s->Write("abcdef", 6));
  EXPECT_FALSE(s->Seek(7));
  EXPECT_EQ(s->GetPosition(), 6u);
  uint8_t c = 0;
  EXPECT_FALSE(s->ReadByte(c));
  EXPECT_FALSE(s->PeekByte(c));

  ASSERT_TRUE(s->Seek(2));
  ASSERT_TRUE(s->PeekByte(c));
  EXPECT_EQ(c, 'c');
  const uint8_t* data = nullptr;
  uint32_t length = 0;
  ASSERT_TRUE(s->ReadBlock(data, length));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), length), "cdef");
  EXPECT_EQ(s->GetPosition(), 6u);
  EXPECT_FALSE(s->ReadBlock(data, length));
}

TEST(SmallStream, WriteSpaceGrowsWhenFull) {
  auto s = net::Win32SmallStream::Create();
  uint8_t* space = nullptr;
  uint32_t room = 0;
  // Filling the exposed space repeatedly must keep making progress.
  uint32_t written = 0;
  for (int round = 0; round < 3; ++round) {
    ASSERT_TRUE(s->GetWriteSpace(space, room));
    ASSERT_GT(room, 0u);
    std::memset(space, 'a' + round, room);
    ASSERT_TRUE(s->CommitWrite(room));
    written += room;
  }
  EXPECT_EQ(s->GetSize(), written);
  EXPECT_EQ(s->Capacity(), written);
  // Committing more than was exposed is refused.
  ASSERT_TRUE(s->GetWriteSpace(space, room));
  EXPECT_FALSE(s->CommitWrite(room + 1));
  EXPECT_EQ(s->GetSize(), written);
}

TEST(SmallStream, OversizedWriteFailsAndKeepsData) {
  auto s = net::Win32SmallStream::Create();
  ASSERT_TRUE(s->Write("keep", 4));
  const uint8_t byte = 0;
  // Never copied: the size alone cannot be satisfied.
  EXPECT_FALSE(s->Write(&byte, std::numeric_limits<uint32_t>::max()));
  EXPECT_EQ(s->GetSize(), 4u);
  EXPECT_EQ(s->Capacity(), 4096u);
  ASSERT_TRUE(s->Seek(0));
  EXPECT_EQ(ReadAll(*s), "keep");
}

TEST(ReadOnlyMemoryStream, ReadsButNeverWrites) {
  const char text[] = "readonly";
  net::ReadOnlyMemoryStream s(text, 8);
  EXPECT_EQ(s.GetSize(), 8u);
  EXPECT_EQ(ReadAll(s), "readonly");

  EXPECT_FALSE(s.Write("x", 1));  // at the end
  ASSERT_TRUE(s.Seek(2));
  EXPECT_FALSE(s.Write("x", 1));  // in the middle: the memory is not ours
  uint8_t* space = nullptr;
  uint32_t room = 0;
  EXPECT_FALSE(s.GetWriteSpace(space, room));
  EXPECT_FALSE(s.CommitWrite(1));
  EXPECT_EQ(s.GetSize(), 8u);
  EXPECT_EQ(s.GetPosition(), 2u);
  EXPECT_STREQ(text, "readonly");
}

}  // namespace
