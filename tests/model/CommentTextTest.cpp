#include <gtest/gtest.h>

#include "model/CWinBlogComment.h"
#include "model/CommentText.h"

namespace {

using model::CommentText;

constexpr uint32_t kNow = 3'700'000'000u;
constexpr uint32_t kDay = 86400;

std::string Ago(uint32_t seconds) { return CommentText::RelativeTime(kNow - seconds, kNow); }

TEST(CommentText, RelativeTimesCountCalendarMonthsFrom1904) {
  EXPECT_EQ(Ago(30 * kDay), "30 days ago");
  EXPECT_EQ(Ago(31 * kDay), "1 month ago");
  EXPECT_EQ(Ago(31 * kDay + 29 * kDay), "2 months ago");  // 1904 was a leap year
  EXPECT_EQ(Ago(kDay), "1 day ago");
  EXPECT_EQ(Ago(kDay - 1), "23 hours ago");
  EXPECT_EQ(Ago(3600), "1 hour ago");
  EXPECT_EQ(Ago(3599), "59 minutes ago");
  EXPECT_EQ(Ago(60), "1 minute ago");
  EXPECT_EQ(Ago(59), "less than a minute ago");
  EXPECT_EQ(CommentText::RelativeTime(kNow + 3600, kNow), "less than a minute ago");
}

TEST(CommentText, FullAndShortForms) {
  model::CWinBlogComment comment;
  comment.SetText("Nice\r\nphoto");
  comment.SetDate(kNow - 2 * 3600);
  EXPECT_EQ(CommentText::Full(comment, kNow), "-NEW- (2 hours ago):\r\nNice\r\nphoto");
  EXPECT_EQ(CommentText::Short(comment), "Nicephoto");
  comment.SetAuthorName("Sam %s");
  EXPECT_EQ(CommentText::Full(comment, kNow), "Sam %s (2 hours ago):\r\nNice\r\nphoto");
}

}  // namespace
