#include "model/BlogUrlRules.h"

#include "model/AccountRules.h"
#include "model/CWinBlogUser.h"
#include "platform/StringIds.h"

namespace model {

namespace s = platform::strings;

uint32_t BlogUrlRules::SubscribeRefusal(const CWinBlogUser& user, std::string_view url) {
  if (url.empty()) return s::kEnterBlogUrl;
  return CreateRefusal(user, url);
}

uint32_t BlogUrlRules::CreateRefusal(const CWinBlogUser& user, std::string_view url) {
  if (!AccountRules::IsValidBlogUrl(url)) return s::kBadBlogUrl;
  if (user.FindBlogIndex(url) >= 0) return s::kAlreadySubscribed;
  return 0;
}

}  // namespace model
