#pragma once

#include <cstdint>
#include <string_view>

namespace model {

class CWinBlogUser;

// The checks of a Blog URL typed to subscribe to a blog or to create one, made
// before anything goes to the service; shared by every front end. Each answers
// the string id of the refusal's message (exclamation icon), or 0.
class BlogUrlRules {
 public:
  // Subscribe: "Please enter a Blog URL." for an empty name; the Blog URL
  // message for a name that is not letters, digits, "_" and "-" (no service
  // blog has another, and such a name could not name the database file);
  // "You're already subscribed to this blog." for a blog the device has.
  static uint32_t SubscribeRefusal(const CWinBlogUser& user, std::string_view url);
  // Create Blog: the Blog URL message; "You're already subscribed to this
  // blog." for a name the device has already (its database would be taken).
  static uint32_t CreateRefusal(const CWinBlogUser& user, std::string_view url);
};

}  // namespace model
