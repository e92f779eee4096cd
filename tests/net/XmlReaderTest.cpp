#include <gtest/gtest.h>

#include <string>

#include "net/ReadOnlyMemoryStream.h"
#include "net/XmlReader.h"

namespace {

using net::XmlReader;

// A read-only stream over its own copy of the text.
class Text {
 public:
  explicit Text(std::string text)
      : text_(std::move(text)), stream_(text_.data(), static_cast<uint32_t>(text_.size())) {}
  net::ReadOnlyMemoryStream& operator*() { return stream_; }
  net::ReadOnlyMemoryStream* operator->() { return &stream_; }
  std::string Rest() {
    std::string out;
    uint8_t c = 0;
    while (stream_.ReadByte(c)) {
      out.push_back(static_cast<char>(c));
    }
    return out;
  }

 private:
  std::string text_;
  net::ReadOnlyMemoryStream stream_;
};

TEST(FindText, StopsJustBehindThePattern) {
  Text t("xx<AB>yy<AB>zz");
  ASSERT_TRUE(XmlReader::FindText(*t, "<AB>"));
  EXPECT_EQ(t->GetPosition(), 6u);
  ASSERT_TRUE(XmlReader::FindText(*t, "<AB>"));
  EXPECT_EQ(t.Rest(), "zz");
}

TEST(FindText, RestartsWithoutRetestingTheBreakingByte) {
  // The second "<" breaks the partial match and is not tried as a new start.
  Text missed("<<AB>");
  EXPECT_FALSE(XmlReader::FindText(*missed, "<AB"));
  EXPECT_EQ(missed->GetPosition(), 5u);

  Text overlap("aab");
  EXPECT_FALSE(XmlReader::FindText(*overlap, "ab"));

  Text later("aabab");
  ASSERT_TRUE(XmlReader::FindText(*later, "ab"));
  EXPECT_EQ(later->GetPosition(), 5u);

  Text partial("abc<A");
  EXPECT_FALSE(XmlReader::FindText(*partial, "<AB"));
  EXPECT_EQ(partial->GetPosition(), 5u);
}

TEST(FindOpenTag, WalksAListUntilItsEndTagOrAnEmptyChild) {
  Text t("<PS><PI><ID>1</ID></PI>\n  <PI ><ID>2</ID></PI></PS><PI><ID>9</ID></PI>");
  std::string ids;
  while (XmlReader::FindOpenTag(*t, "PI", "PS")) {
    ASSERT_TRUE(XmlReader::FindText(*t, "<ID>"));
    ids += std::to_string(XmlReader::ReadNumber(*t)) + ",";
  }
  EXPECT_EQ(ids, "1,2,");
  EXPECT_EQ(t.Rest(), "><PI><ID>9</ID></PI>");

  // An empty child counts as absent and ends the walk there.
  Text withEmpty("<PS><PI/><PI><ID>3</ID></PI></PS>");
  EXPECT_FALSE(XmlReader::FindOpenTag(*withEmpty, "PI", "PS"));
}

TEST(FindOpenTag, EmptyListEndsJustBehindTheEndTagName) {
  Text t("<PS></PS><PI>x</PI>");
  ASSERT_TRUE(XmlReader::FindOpenTag(*t, "PS"));
  EXPECT_FALSE(XmlReader::FindOpenTag(*t, "PI", "PS"));
  EXPECT_EQ(t.Rest(), "><PI>x</PI>");
}

TEST(FindOpenTag, EmptyElementAndBlanks) {
  Text spaced("<TS />later");
  EXPECT_FALSE(XmlReader::FindOpenTag(*spaced, "TS"));
  Text tight("<TS/>");
  EXPECT_FALSE(XmlReader::FindOpenTag(*tight, "TS"));
  Text blanks("<TS\r\n\t >v</TS>");
  ASSERT_TRUE(XmlReader::FindOpenTag(*blanks, "TS"));
  EXPECT_EQ(blanks.Rest(), ">v</TS>");
  // The tag's own end tag, reached first, means absent.
  Text closed("</TS><TS>v</TS>");
  EXPECT_FALSE(XmlReader::FindOpenTag(*closed, "TS"));
  EXPECT_EQ(closed.Rest(), "><TS>v</TS>");
}

TEST(FindOpenTag, TruncatedInputAndOverlongNames) {
  Text cut("<A><TS");
  EXPECT_FALSE(XmlReader::FindOpenTag(*cut, "TS"));
  Text cutBlanks("<TS   ");
  EXPECT_FALSE(XmlReader::FindOpenTag(*cutBlanks, "TS"));
  // "</" and the name must fit in 31 bytes too.
  const std::string longName(30, 'N');
  Text longTag("<" + longName + ">x");
  EXPECT_FALSE(XmlReader::FindOpenTag(*longTag, longName));
  const std::string fitting(29, 'N');
  Text fits("<" + fitting + ">x");
  EXPECT_TRUE(XmlReader::FindOpenTag(*fits, fitting));
}

TEST(ReadElementText, ContentAttributesAndEmptyElements) {
  Text t("<TI>Title one</TI><TI/><BY name=\"J&amp;K\" x=\"2\"/>");
  std::string text = "stale";
  ASSERT_TRUE(XmlReader::FindOpenTag(*t, "TI"));
  ASSERT_TRUE(XmlReader::ReadElementText(*t, text, 128));
  EXPECT_EQ(text, "Title one");

  // "<TI/>": found by FindText, and the '/' before '>' makes the text empty.
  ASSERT_TRUE(XmlReader::FindText(*t, "<TI"));
  text = "stale";
  ASSERT_TRUE(XmlReader::ReadElementText(*t, text, 128));
  EXPECT_EQ(text, "");

  ASSERT_TRUE(XmlReader::FindText(*t, "<BY"));
  ASSERT_TRUE(XmlReader::ReadElementText(*t, text, 64, '"', '"'));
  EXPECT_EQ(text, "J&K");
  ASSERT_TRUE(XmlReader::ReadElementText(*t, text, 64, '"', '"'));
  EXPECT_EQ(text, "2");
}

TEST(ReadElementText, DecodesEachEntityExactlyOnce) {
  Text t(">&amp;<>&amp;lt;<>&lt;&gt;&quot;&apos;&#x9;&#xA;&#xD;&amp;amp;<>&bogus; & &am<");
  std::string text;
  ASSERT_TRUE(XmlReader::ReadElementText(*t, text, 100));
  EXPECT_EQ(text, "&");
  ASSERT_TRUE(XmlReader::ReadElementText(*t, text, 100));
  EXPECT_EQ(text, "&lt;");
  ASSERT_TRUE(XmlReader::ReadElementText(*t, text, 100));
  EXPECT_EQ(text, "<>\"'\t\n\r&amp;");
  ASSERT_TRUE(XmlReader::ReadElementText(*t, text, 100));
  EXPECT_EQ(text, "&bogus; & &am");
}

TEST(ReadElementText, CutsToSizeMinusOneAndReadsPastTheRest) {
  Text t("<M>abcdefghij</M><A>ok</A>");
  std::string text;
  ASSERT_TRUE(XmlReader::FindOpenTag(*t, "M"));
  ASSERT_TRUE(XmlReader::ReadElementText(*t, text, 5));
  EXPECT_EQ(text, "abcd");
  ASSERT_TRUE(XmlReader::FindOpenTag(*t, "A"));
  ASSERT_TRUE(XmlReader::ReadElementText(*t, text, 1));
  EXPECT_EQ(text, "");
  EXPECT_EQ(t.Rest(), "/A>");

  // The cut comes before decoding: a kept "&amp;" still decodes, a cut one stays raw.
  Text entity(">&amp;&amp;<");
  ASSERT_TRUE(XmlReader::ReadElementText(*entity, text, 9));
  EXPECT_EQ(text, "&&am");
}

TEST(ReadElementText, TruncatedInputEndsWithFalse) {
  Text noStart("   no start byte");
  std::string text = "stale";
  EXPECT_FALSE(XmlReader::ReadElementText(*noStart, text, 32));
  EXPECT_EQ(text, "");
  Text noEnd(">unfinished &amp; text");
  EXPECT_FALSE(XmlReader::ReadElementText(*noEnd, text, 32));
  EXPECT_EQ(text, "unfinished & text");
  Text raw("plain<rest");
  ASSERT_TRUE(XmlReader::ReadElementText(*raw, text, 32, '\0', '<'));
  EXPECT_EQ(text, "plain");
}

TEST(ReadNumber, DigitsThenOneConsumedByte) {
  Text t("1234<5");
  EXPECT_EQ(XmlReader::ReadNumber(*t), 1234u);
  EXPECT_EQ(t.Rest(), "5");
  Text none(" 12");
  EXPECT_EQ(XmlReader::ReadNumber(*none), 0u);
  EXPECT_EQ(none.Rest(), "12");
  Text atEnd("4294967295");
  EXPECT_EQ(XmlReader::ReadNumber(*atEnd), 4294967295u);
  Text huge("99999999999999999999<");
  EXPECT_EQ(XmlReader::ReadNumber(*huge), 4294967295u);
  EXPECT_EQ(huge.Rest(), "");
  Text sign("-5");
  EXPECT_EQ(XmlReader::ReadNumber(*sign), 0u);
}

TEST(ReadToken, WordsLinesListItemsAndCuts) {
  Text t(" \t\r\nfirst second\r\nthe whole line\nlongtoken");
  std::string token;
  ASSERT_TRUE(XmlReader::ReadToken(*t, token, 32));
  EXPECT_EQ(token, "first");
  ASSERT_TRUE(XmlReader::ReadToken(*t, token, 32));
  EXPECT_EQ(token, "second");
  ASSERT_TRUE(XmlReader::ReadToken(*t, token, 32, true));
  EXPECT_EQ(token, "the whole line");
  ASSERT_TRUE(XmlReader::ReadToken(*t, token, 5));
  EXPECT_EQ(token, "long");
  EXPECT_FALSE(XmlReader::ReadToken(*t, token, 32));
  EXPECT_EQ(token, "");
  Text blanks("  \r\n ");
  EXPECT_FALSE(XmlReader::ReadToken(*blanks, token, 32));

  // Recipient lists split at blanks and commas alike.
  Text list("a@x.org, b@y.org,,c@z.org d@w.org ,");
  std::string all;
  while (XmlReader::ReadListItem(*list, token, 64)) {
    all += token + "|";
  }
  EXPECT_EQ(all, "a@x.org|b@y.org|c@z.org|d@w.org|");
}

}  // namespace
