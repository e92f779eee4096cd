// The HTML of the blog pages: escaping of every user text, captions with their
// line breaks, link previews, paging and the view-password form.
#include <gtest/gtest.h>

#include "server/PageBuilder.h"

namespace {

using server::PageBuilder;

// Would end an attribute or open an element if it got through unescaped.
const std::string kHostile = "<x y=\"1\" z='2'>&amp;";
const std::string kEscaped = "&lt;x y=&quot;1&quot; z=&#39;2&#39;&gt;&amp;amp;";

void ExpectOnlyEscaped(const std::string& html) {
  EXPECT_EQ(html.find("<x"), std::string::npos) << html;
  EXPECT_EQ(html.find("\"1\""), std::string::npos) << html;
  EXPECT_EQ(html.find("'2'"), std::string::npos) << html;
  EXPECT_NE(html.find(kEscaped), std::string::npos) << html;
}

class PageBuilderTest : public ::testing::Test {
 protected:
  PageBuilderTest() : urls("photos.example:8080"), builder(urls) {
    blog.id = 7;
    blog.url = "trips";
    blog.title = "Trips " + kHostile;
    blog.subtitle = "Sub " + kHostile;
    blog.viewPassword = "peek";
  }

  static server::EntryRecord MakeEntry(int64_t id, const std::string& text) {
    server::EntryRecord entry;
    entry.id = id;
    entry.blog = 7;
    entry.title = text;
    entry.caption = text;
    entry.authorName = text;
    entry.dateText = "2026-11-24T10:22:13+0100";
    entry.photoKey = "0123456789abcdef012" + std::to_string(id % 10);
    entry.width = 1024;
    entry.height = 768;
    return entry;
  }

  server::UrlBuilder urls;
  PageBuilder builder;
  server::BlogRecord blog;
};

TEST_F(PageBuilderTest, EveryUserTextIsEscapedOnEveryPage) {
  PageBuilder::Grid grid;
  grid.category = server::CategoryRecord{3, 7, "Cat " + kHostile, false};
  grid.entries = {MakeEntry(1, kHostile)};
  ExpectOnlyEscaped(builder.GridPage(blog, grid));

  PageBuilder::Entry view;
  view.entry = MakeEntry(2, kHostile);
  view.entry.dateText = kHostile;  // not a date: shown as stored
  view.category = grid.category;
  view.comments = {server::CommentRecord{5, 7, 2, 1, kHostile, kHostile, kHostile, false}};
  view.newer = MakeEntry(3, kHostile);
  view.older = MakeEntry(1, kHostile);
  std::string entryPage = builder.EntryPage(blog, view);
  ExpectOnlyEscaped(entryPage);
  EXPECT_NE(entryPage.find("datetime=\"" + kEscaped + "\""), std::string::npos);

  ExpectOnlyEscaped(builder.CategoriesPage(blog, {{*grid.category, 1, MakeEntry(1, kHostile)}}));
  ExpectOnlyEscaped(builder.MessagePage(&blog, "Gone " + kHostile, "Text " + kHostile));
  server::BlogRecord hidden = blog;
  hidden.url = kHostile;
  ExpectOnlyEscaped(builder.PasswordPage(hidden, "/" + kHostile + "/", true));
}

TEST_F(PageBuilderTest, EntryShowsCaptionLinesDateInWordsAndCommentsInTheEntrysZone) {
  PageBuilder::Entry view;
  view.entry = MakeEntry(2, "Harbour");
  view.entry.caption = "one\r\ntwo\nthree\rfour";
  view.comments = {server::CommentRecord{5, 7, 2, 1, "Sam Friend", "2026-11-24T23:30:00Z", "nice\nshot", false}};
  std::string html = builder.EntryPage(blog, view);
  EXPECT_NE(html.find(">one<br>\ntwo<br>\nthree<br>\nfour</p>"), std::string::npos) << html;
  EXPECT_NE(html.find("By Harbour &middot; <time datetime=\"2026-11-24T10:22:13+0100\">24 November 2026, 10:22</time>"),
            std::string::npos);
  // 23:30 UTC is half past midnight of the next day an hour east.
  EXPECT_NE(html.find("nice<br>\nshot</p><p class=\"byline\">Sam Friend &middot; <time "
                      "datetime=\"2026-11-24T23:30:00Z\">25 November 2026, 00:30</time>"),
            std::string::npos);
  EXPECT_NE(html.find("<h3>1 comment</h3>"), std::string::npos);
  EXPECT_NE(html.find("<a href=\"http://photos.example:8080/photos/0123456789abcdef0122.jpg\">"), std::string::npos);
  EXPECT_NE(html.find("0123456789abcdef0122_m.jpg\" alt=\"Harbour\" width=\"480\" height=\"360\""), std::string::npos);
}

TEST_F(PageBuilderTest, EntryLinksItsCategoryAndNeighbours) {
  PageBuilder::Entry view;
  view.entry = MakeEntry(2, "Middle");
  view.category = server::CategoryRecord{3, 7, "Coast", false};
  view.older = MakeEntry(1, "First");
  std::string html = builder.EntryPage(blog, view);
  EXPECT_NE(html.find("in <a href=\"http://photos.example:8080/trips/?albumid=3\">Coast</a>"), std::string::npos);
  EXPECT_NE(html.find("<a rel=\"next\" href=\"http://photos.example:8080/trips/?preview=1\">Older: First"),
            std::string::npos);
  EXPECT_EQ(html.find("rel=\"prev\""), std::string::npos);
}

TEST_F(PageBuilderTest, SharedLinksCarryTitleCaptionAndMediumPhoto) {
  PageBuilder::Entry view;
  view.entry = MakeEntry(2, "Harbour");
  view.entry.caption = "Boats coming home\n";
  for (int i = 0; i < 40; ++i) view.entry.caption += "gulls ";
  std::string html = builder.EntryPage(blog, view);
  EXPECT_NE(html.find("<html lang=\"en\">"), std::string::npos);
  EXPECT_NE(html.find("<title>Harbour"), std::string::npos);
  EXPECT_NE(html.find("<meta property=\"og:title\" content=\"Harbour\">"), std::string::npos);
  EXPECT_NE(html.find("<meta property=\"og:type\" content=\"article\">"), std::string::npos);
  EXPECT_NE(html.find("<meta property=\"og:url\" content=\"http://photos.example:8080/trips/?preview=2\">"),
            std::string::npos);
  const std::string image = "http://photos.example:8080/photos/0123456789abcdef0122_m.jpg";
  EXPECT_NE(html.find("<meta property=\"og:image\" content=\"" + image + "\">"), std::string::npos);
  EXPECT_NE(html.find("<meta name=\"twitter:image\" content=\"" + image + "\">"), std::string::npos);
  EXPECT_NE(html.find("<meta name=\"twitter:card\" content=\"summary_large_image\">"), std::string::npos);
  // The description is the caption on one line, cut short after a whole word.
  const std::string key = "<meta property=\"og:description\" content=\"";
  size_t at = html.find(key);
  ASSERT_NE(at, std::string::npos);
  std::string description = html.substr(at + key.size(), html.find('"', at + key.size()) - at - key.size());
  EXPECT_EQ(description.rfind("Boats coming home gulls gulls", 0), 0u) << description;
  EXPECT_EQ(description.substr(description.size() - 8), "gulls\xE2\x80\xA6");
  EXPECT_LE(description.size(), 200u);
}

TEST_F(PageBuilderTest, PagesLinkNewerAndOlderAndTheFirstKeepsItsAddress) {
  EXPECT_EQ(PageBuilder::PageUrl("http://h/trips", 1), "http://h/trips");
  EXPECT_EQ(PageBuilder::PageUrl("http://h/trips", 3), "http://h/trips/?page=3");
  EXPECT_EQ(PageBuilder::PageUrl("http://h/trips/?albumid=4", 2), "http://h/trips/?albumid=4&page=2");

  PageBuilder::Grid grid;
  grid.entries = {MakeEntry(60, "a"), MakeEntry(59, "b")};
  grid.page = 2;
  grid.pages = 3;
  std::string middle = builder.GridPage(blog, grid);
  EXPECT_NE(middle.find("<a rel=\"prev\" href=\"http://photos.example:8080/trips\">"), std::string::npos);
  EXPECT_NE(middle.find("<a rel=\"next\" href=\"http://photos.example:8080/trips/?page=3\">"), std::string::npos);
  EXPECT_NE(middle.find("Page 2 of 3"), std::string::npos);
  EXPECT_NE(middle.find("<link rel=\"canonical\" href=\"http://photos.example:8080/trips/?page=2\">"),
            std::string::npos);

  grid.pages = 1;
  grid.page = 1;
  std::string single = builder.GridPage(blog, grid);
  EXPECT_EQ(single.find("class=\"pager\""), std::string::npos);
  EXPECT_NE(single.find("href=\"http://photos.example:8080/trips/?preview=60\""), std::string::npos);
}

TEST_F(PageBuilderTest, GridLoadsTheFirstRowsAtOnceAndTheRestLazily) {
  PageBuilder::Grid grid;
  for (int64_t id = 50; id > 0; --id) grid.entries.push_back(MakeEntry(id, "e"));
  std::string html = builder.GridPage(blog, grid);
  size_t lazy = 0;
  for (size_t at = html.find("loading=\"lazy\""); at != std::string::npos; at = html.find("loading=\"lazy\"", at + 1)) {
    ++lazy;
  }
  EXPECT_EQ(lazy, 38u);
  EXPECT_NE(
      html.find(
          "<meta property=\"og:image\" content=\"http://photos.example:8080/photos/0123456789abcdef0120_m.jpg\">"),
      std::string::npos);
}

TEST_F(PageBuilderTest, PasswordPageShowsNothingOfTheBlog) {
  server::EntryRecord secret = MakeEntry(1, "secret title");
  std::string html = builder.PasswordPage(blog, "/trips/?preview=4", false);
  EXPECT_NE(html.find("<form method=\"post\" action=\"/trips/?preview=4\">"), std::string::npos);
  EXPECT_NE(html.find("type=\"password\" id=\"password\" name=\"password\""), std::string::npos);
  EXPECT_NE(html.find("<meta name=\"robots\" content=\"noindex\">"), std::string::npos);
  EXPECT_EQ(html.find("Wrong password"), std::string::npos);
  EXPECT_EQ(html.find("Trips"), std::string::npos);
  EXPECT_EQ(html.find("og:image"), std::string::npos);
  EXPECT_NE(builder.PasswordPage(blog, "/trips/", true).find("Wrong password"), std::string::npos);

  server::BlogRecord closed = blog;
  closed.viewPassword.clear();
  EXPECT_EQ(builder.PasswordPage(closed, "/trips/", false).find("<form"), std::string::npos);
}

}  // namespace
