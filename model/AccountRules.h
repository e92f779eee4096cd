#pragma once

#include <cstddef>
#include <string_view>

namespace model {

// The account screens' field limits (in characters) and their validation rules,
// shared by every front end.
class AccountRules {
 public:
  static constexpr size_t kMaxEmail = 63;
  static constexpr size_t kMaxPassword = 31;
  static constexpr size_t kMaxName = 31;
  static constexpr size_t kMaxBlogUrl = 31;
  static constexpr size_t kMaxTitle = 47;
  static constexpr size_t kMaxSubtitle = 63;

  // At least 7 characters, an "@", and a "." somewhere after the first "@".
  static bool IsValidEmail(std::string_view email);
  // For a new account: not empty and no blank.
  static bool IsValidNewPassword(std::string_view password);
  // Not empty; only digits, letters, "_" and "-" (UTF-8 text).
  static bool IsValidBlogUrl(std::string_view url);
};

}  // namespace model
