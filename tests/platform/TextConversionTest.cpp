#include <gtest/gtest.h>

#include <random>

#include "platform/TextConversion.h"

using namespace platform;

TEST(TextConversion, RoundTripsEveryPlane) {
  const std::string text = "Tessary caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x93\xB7 end";
  const std::u16string wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide, u"Tessary caf\u00E9 \u65E5\u672C \U0001F4F7 end");
  EXPECT_EQ(Utf16ToUtf8(wide), text);
  EXPECT_EQ(Utf8ToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
  EXPECT_EQ(Utf16ToUtf8(u"\U0010FFFF"), "\xF4\x8F\xBF\xBF");
}

TEST(TextConversion, MalformedUtf8BecomesReplacementCharacters) {
  struct Case {
    std::string in;
    std::u16string out;
  };
  const Case cases[] = {
      {"\xFF", u"\uFFFD"},
      {"a\xC3", u"a\uFFFD"},                               // cut short at the end
      {"\xE2\x82" "A", u"\uFFFDA"},                        // cut short before a good byte
      {"\xC0\xAF", u"\uFFFD\uFFFD"},                       // overlong "/"
      {"\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},             // overlong NUL
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},             // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},   // beyond U+10FFFF
      {"\x80x", u"\uFFFDx"},                               // stray continuation byte
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToUtf16(c.in), c.out) << testing::PrintToString(c.in);
}

TEST(TextConversion, LoneSurrogatesBecomeReplacementCharacters) {
  EXPECT_EQ(Utf16ToUtf8(u"a\xD800"), "a\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDC00, u'b'}), "\xEF\xBF\xBD" "b");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDC00, 0xD800}), "\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800, 0xD800, 0xDC00}), "\xEF\xBF\xBD\xF0\x90\x80\x80");
}

TEST(TextConversion, ArbitraryBytesGiveValidText) {
  std::mt19937 rng(7);
  for (int round = 0; round < 500; ++round) {
    std::string bytes(rng() % 40, '\0');
    for (char& c : bytes) c = static_cast<char>(rng());
    const std::u16string wide = Utf8ToUtf16(bytes);
    const std::string back = Utf16ToUtf8(wide);
    // Whatever came in, what goes out is valid and converts back unchanged.
    EXPECT_EQ(Utf8ToUtf16(back), wide);
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(back)), back);
  }
}
