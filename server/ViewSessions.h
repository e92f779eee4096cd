#pragma once

#include <string>
#include <string_view>

#include "server/Records.h"

namespace server {

// The browser side of hidden blogs: once a visitor gives a blog's view password,
// a cookie lets that browser read the blog's pages. The cookie holds an HMAC of
// the blog and its view password under a key made when the service starts, so it
// cannot be made without the password, and it stops working when the password
// changes or the service restarts.
class ViewSessions {
 public:
  ViewSessions();

  // The Set-Cookie value that opens the blog to the browser for its session.
  std::string Cookie(const BlogRecord& blog) const;
  // Whether the request's Cookie header holds a valid cookie for the blog.
  bool Admits(const BlogRecord& blog, std::string_view cookieHeader) const;

 private:
  std::string Token(const BlogRecord& blog) const;

  std::string key_;
};

}  // namespace server
