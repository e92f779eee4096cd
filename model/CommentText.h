#pragma once

#include <cstdint>
#include <string>

namespace model {

class BlogComment;

// How a comment reads in the comment screens and in the command line's list.
class CommentText {
 public:
  // "%s (%s):" with the author's name ("-NEW-" until the service has named it)
  // and the relative time, then CR LF and the text.
  static std::string Full(const BlogComment& comment, uint32_t now);
  // The text with every CR and LF removed.
  static std::string Short(const BlogComment& comment);
  // How long before `now` the time value `date` lies, by the first non-zero
  // count of calendar months, days, hours and minutes of the elapsed time read
  // as a date from 1904-01-01 ("1 month ago", "30 days ago"...); "less than a
  // minute ago" for less, and for a date ahead of `now`.
  static std::string RelativeTime(uint32_t date, uint32_t now);
};

}  // namespace model
