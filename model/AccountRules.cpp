#include "model/AccountRules.h"

#include <cctype>

namespace model {

bool AccountRules::IsValidEmail(std::string_view email) {
  if (email.size() < 7) return false;
  const size_t at = email.find('@');
  return at != std::string_view::npos && email.find('.', at + 1) != std::string_view::npos;
}

bool AccountRules::IsValidNewPassword(std::string_view password) {
  return !password.empty() && password.find(' ') == std::string_view::npos;
}

bool AccountRules::IsValidBlogUrl(std::string_view url) {
  if (url.empty()) return false;
  for (unsigned char c : url) {
    // Letters beyond ASCII come as UTF-8 bytes of 0x80 and above.
    if (!(std::isalnum(c) || c == '_' || c == '-' || c >= 0x80)) return false;
  }
  return true;
}

}  // namespace model
