// Units behind the web pages: HTML text, dates in words, view cookies of hidden
// blogs and conditional requests.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "server/DateWords.h"
#include "server/HtmlText.h"
#include "server/HttpCache.h"
#include "server/ViewSessions.h"

namespace {

using server::HtmlText;
using server::HttpCache;

TEST(HtmlText, EscapesMarkupAndQuotesAndDropsControlCharacters) {
  EXPECT_EQ(HtmlText::Escape("a<b>&\"c'\x01\x7F\td"), "a&lt;b&gt;&amp;&quot;c&#39;\td");
  EXPECT_EQ(HtmlText::WithLineBreaks("<a>\r\n\r\nb\r"), "&lt;a&gt;<br>\n<br>\nb<br>\n");
}

TEST(HtmlText, ExcerptIsOneLineCutAtWholeWordsOrCharacters) {
  EXPECT_EQ(HtmlText::Excerpt("  one\r\n two\t\tthree  ", 100), "one two three");
  EXPECT_EQ(HtmlText::Excerpt("one two three", 12), "one two\xE2\x80\xA6");
  // "é" is two bytes: a cut never splits it.
  std::string accents;
  for (int i = 0; i < 10; ++i) accents += "\xC3\xA9";
  std::string cut = HtmlText::Excerpt(accents, 10);
  EXPECT_EQ(cut, "\xC3\xA9\xC3\xA9\xC3\xA9\xE2\x80\xA6");
}

TEST(DateWords, TellsTheStoredClockOrTheMomentInAnotherZone) {
  EXPECT_EQ(server::DateWords::Format("2026-11-24T10:22:13+0100"), "24 November 2026, 10:22");
  EXPECT_EQ(server::DateWords::Format("2026-01-05T07:03:00Z"), "5 January 2026, 07:03");
  EXPECT_EQ(server::DateWords::Format("2026-03-01T00:10:00"), "1 March 2026, 00:10");
  EXPECT_EQ(server::DateWords::FormatIn("2026-12-31T23:30:00Z", "2026-06-01T12:00:00+0530"), "1 January 2027, 05:00");
  EXPECT_EQ(server::DateWords::FormatIn("2026-03-01T00:30:00Z", "2026-03-01T08:00:00-0100"), "28 February 2026, 23:30");
  EXPECT_EQ(server::DateWords::FormatIn("2026-03-01T00:30:00Z", "not a date"), "1 March 2026, 00:30");
  EXPECT_EQ(server::DateWords::Format("2026-02-30T10:00:00Z"), "");
  EXPECT_EQ(server::DateWords::Format(""), "");
}

TEST(ViewSessions, CookieOpensOnlyItsBlogWithItsPassword) {
  server::ViewSessions sessions;
  server::BlogRecord blog;
  blog.id = 4;
  blog.viewPassword = "peek";
  std::string cookie = sessions.Cookie(blog);
  EXPECT_NE(cookie.find("; HttpOnly"), std::string::npos);
  EXPECT_NE(cookie.find("; SameSite=Lax"), std::string::npos);
  std::string pair = cookie.substr(0, cookie.find(';'));
  EXPECT_TRUE(sessions.Admits(blog, "a=b; " + pair + "; c=d"));
  EXPECT_FALSE(sessions.Admits(blog, ""));
  EXPECT_FALSE(sessions.Admits(blog, pair.substr(0, pair.size() - 1) + (pair.back() == '0' ? "1" : "0")));

  server::BlogRecord other = blog;
  other.id = 5;
  EXPECT_FALSE(sessions.Admits(other, pair));
  server::BlogRecord changed = blog;
  changed.viewPassword = "new";
  EXPECT_FALSE(sessions.Admits(changed, pair));
  // Another run of the service makes other cookies.
  EXPECT_FALSE(server::ViewSessions().Admits(blog, pair));
  server::BlogRecord closed = blog;
  closed.viewPassword.clear();
  EXPECT_FALSE(sessions.Admits(closed, sessions.Cookie(closed).substr(0, sessions.Cookie(closed).find(';'))));
}

TEST(HttpCache, DatesInTheFormOfHttp) {
  EXPECT_EQ(HttpCache::FormatDate(784111777), "Sun, 06 Nov 1994 08:49:37 GMT");
  int64_t parsed = 0;
  ASSERT_TRUE(HttpCache::ParseDate("Sun, 06 Nov 1994 08:49:37 GMT", parsed));
  EXPECT_EQ(parsed, 784111777);
  for (const char* bad : {"Sunday, 06-Nov-94 08:49:37 GMT", "Sun, 06 Foo 1994 08:49:37 GMT",
                          "Sun, 32 Nov 1994 08:49:37 GMT", "Sun, 06 Nov 1994 08:49:37 UTC", ""}) {
    EXPECT_FALSE(HttpCache::ParseDate(bad, parsed)) << bad;
  }
}

TEST(HttpCache, ConditionalRequestsMatchTagOrDateAndTheTagWins) {
  HttpCache::Validators v{"\"abc\"", "Sun, 06 Nov 1994 08:49:37 GMT", 784111777};
  EXPECT_TRUE(HttpCache::NotModified("\"abc\"", "", v));
  EXPECT_TRUE(HttpCache::NotModified("\"x\", W/\"abc\"", "", v));
  EXPECT_TRUE(HttpCache::NotModified("*", "", v));
  EXPECT_FALSE(HttpCache::NotModified("\"abcd\"", "", v));
  EXPECT_FALSE(HttpCache::NotModified("\"x\"", "Sun, 06 Nov 1994 08:49:37 GMT", v));
  EXPECT_TRUE(HttpCache::NotModified("", "Sun, 06 Nov 1994 08:49:37 GMT", v));
  EXPECT_FALSE(HttpCache::NotModified("", "Sun, 06 Nov 1994 08:49:36 GMT", v));
  EXPECT_FALSE(HttpCache::NotModified("", "yesterday", v));
  EXPECT_FALSE(HttpCache::NotModified("", "", v));
}

TEST(HttpCache, TagsFollowTheFileAndTellVariantsApart) {
  std::filesystem::path file = std::filesystem::temp_directory_path() / ("httpcache-" + std::to_string(getpid()));
  std::ofstream(file) << "one";
  HttpCache::Validators plain, small, again;
  ASSERT_TRUE(HttpCache::ForFile(file, "", plain));
  ASSERT_TRUE(HttpCache::ForFile(file, "176/80", small));
  EXPECT_NE(plain.etag, small.etag);
  EXPECT_EQ(plain.lastModified, HttpCache::FormatDate(plain.modified));
  std::ofstream(file) << "other";
  ASSERT_TRUE(HttpCache::ForFile(file, "", again));
  EXPECT_NE(again.etag, plain.etag);
  std::filesystem::remove(file);
  EXPECT_FALSE(HttpCache::ForFile(file, "", again));
}

}  // namespace
