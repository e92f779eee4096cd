#include "model/CommentText.h"

#include "model/BlogComment.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/TimeValue.h"

namespace model {

namespace s = platform::strings;

namespace {

std::string Count(uint32_t one, uint32_t many, int count) {
  if (count == 1) return platform::LoadString(one);
  std::string text = platform::LoadString(many);
  const size_t at = text.find("%d");
  if (at != std::string::npos) text.replace(at, 2, std::to_string(count));
  return text;
}

}  // namespace

std::string CommentText::RelativeTime(uint32_t date, uint32_t now) {
  const uint32_t elapsed = now > date ? now - date : 0;
  platform::SystemTime when;
  if (!platform::TimeValueToSystemTime(elapsed, when)) return platform::LoadString(s::kLessThanAMinuteAgo);
  const int months = (when.year * 12 + when.month) - (1904 * 12 + 1);
  if (months != 0) return Count(s::kOneMonthAgo, s::kMonthsAgo, months);
  if (when.day > 1) return Count(s::kOneDayAgo, s::kDaysAgo, when.day - 1);
  if (when.hour != 0) return Count(s::kOneHourAgo, s::kHoursAgo, when.hour);
  if (when.minute != 0) return Count(s::kOneMinuteAgo, s::kMinutesAgo, when.minute);
  return platform::LoadString(s::kLessThanAMinuteAgo);
}

std::string CommentText::Full(const BlogComment& comment, uint32_t now) {
  const std::string& author = comment.GetAuthorName();
  return platform::FormatText(s::kCommentHeader,
                              {author.empty() ? platform::LoadString(s::kNewCommentAuthor) : author,
                               RelativeTime(comment.GetDate(), now)}) +
         "\r\n" + comment.GetText();
}

std::string CommentText::Short(const BlogComment& comment) {
  std::string text;
  for (char c : comment.GetText()) {
    if (c != '\r' && c != '\n') text += c;
  }
  return text;
}

}  // namespace model
