#include <gtest/gtest.h>

#include <string>

#include "net/ReadOnlyMemoryStream.h"
#include "net/Win32SmallStream.h"
#include "net/XmlWriter.h"

namespace {

std::string Contents(net::Win32SmallStream& s) {
  return std::string(reinterpret_cast<const char*>(s.Data()), s.GetSize());
}

TEST(XmlWriter, EscapesTheTableAndNothingElse) {
  auto s = net::Win32SmallStream::Create();
  ASSERT_TRUE(net::XmlWriter::WriteEscaped(*s, "a<b & \"c\"\td"));
  EXPECT_EQ(Contents(*s), "a&lt;b &amp; &quot;c&quot;&#x9;d");

  auto all = net::Win32SmallStream::Create();
  ASSERT_TRUE(net::XmlWriter::WriteEscaped(*all, "\t\n\r\"&'<>"));
  EXPECT_EQ(Contents(*all), "&#x9;&#xA;&#xD;&quot;&amp;&apos;&lt;&gt;");

  // UTF-8, other controls and every other printable byte pass unchanged.
  const std::string plain = "caf\xC3\xA9 \x01\x7F ;#=/\\%";
  auto other = net::Win32SmallStream::Create();
  ASSERT_TRUE(net::XmlWriter::WriteEscaped(*other, plain));
  EXPECT_EQ(Contents(*other), plain);
}

TEST(XmlWriter, NumbersAndText) {
  auto s = net::Win32SmallStream::Create();
  ASSERT_TRUE(net::XmlWriter::WriteText(*s, "<ID>"));
  ASSERT_TRUE(net::XmlWriter::WriteNumber(*s, 0));
  ASSERT_TRUE(net::XmlWriter::WriteText(*s, "|"));
  ASSERT_TRUE(net::XmlWriter::WriteNumber(*s, 4294967295u));
  ASSERT_TRUE(net::XmlWriter::WriteText(*s, "</ID>"));
  EXPECT_EQ(Contents(*s), "<ID>0|4294967295</ID>");
}

TEST(XmlWriter, CopiesAStreamFromItsPosition) {
  auto source = net::Win32SmallStream::Create();
  std::string big(10000, 'q');
  big[0] = 'S';
  ASSERT_TRUE(source->Write(big.data(), static_cast<uint32_t>(big.size())));
  ASSERT_TRUE(source->Seek(1));
  auto s = net::Win32SmallStream::Create();
  ASSERT_TRUE(net::XmlWriter::WriteStream(*s, *source));
  EXPECT_EQ(Contents(*s), big.substr(1));
}

TEST(XmlWriter, FailedWritesAreReported) {
  const char memory[4] = {};
  net::ReadOnlyMemoryStream full(memory, sizeof memory);
  ASSERT_TRUE(full.Seek(4));
  EXPECT_FALSE(net::XmlWriter::WriteText(full, "x"));
  EXPECT_FALSE(net::XmlWriter::WriteEscaped(full, "a&b"));
  EXPECT_FALSE(net::XmlWriter::WriteEscaped(full, "<"));
  EXPECT_FALSE(net::XmlWriter::WriteNumber(full, 7));
  net::ReadOnlyMemoryStream source("abc", 3);
  EXPECT_FALSE(net::XmlWriter::WriteStream(full, source));
}

}  // namespace
