#pragma once

#include <cstddef>
#include <string_view>

namespace server {

// Limits on the texts clients store.
class TextRules {
 public:
  static constexpr size_t kTitle = 255;
  static constexpr size_t kSubtitle = 255;
  static constexpr size_t kCaption = 8000;
  static constexpr size_t kComment = 8000;
  static constexpr size_t kName = 127;
  static constexpr size_t kPassword = 63;
  static constexpr size_t kEmail = 127;
  static constexpr size_t kBlogUrl = 31;
  static constexpr size_t kDate = 31;

  // kOk, kTextTooLong, or kInvalidRequest for control characters other than TAB, LF and CR.
  static int Check(std::string_view text, size_t limit);
  // A mail address: one "@" between a non-empty local part and a dotted domain,
  // printable ASCII without blanks or characters that need quoting.
  static bool IsEmail(std::string_view text);
  // 1 to 31 letters, digits, "-" or "_".
  static bool IsBlogUrl(std::string_view text);
};

}  // namespace server
