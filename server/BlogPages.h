#pragma once

#include <optional>
#include <string>

#include "server/Database.h"
#include "server/PageBuilder.h"
#include "server/UrlBuilder.h"
#include "server/ViewSessions.h"

namespace server {

// The web pages of the blogs: "/NAME" (its entries, newest first, a page at a
// time), "/NAME/?albumid=0" (its categories), "/NAME/?albumid=ID" (one category),
// "/NAME/?preview=ID" (one entry with its comments); "page=N" picks a later page
// of a grid. Hidden blogs ask for their view password first.
class BlogPages {
 public:
  BlogPages(Database& db, const UrlBuilder& urls) : db_(db), builder_(urls) {}

  struct Request {
    std::string blog;
    std::optional<std::string> albumId;
    std::optional<std::string> preview;
    std::optional<std::string> page;
    // The request's Cookie header.
    std::string cookies;
    // A view password sent from the form.
    std::optional<std::string> password;
  };
  struct Answer {
    // 200; 303 to location once a view password was accepted; 403 a hidden blog
    // asking for its password; 404 an unknown blog, entry, category or page; 400
    // a malformed number.
    int status = 200;
    std::string html;
    std::string location;
    // A Set-Cookie value.
    std::string cookie;
    // A page of a hidden blog, for this visitor only.
    bool restricted = false;
  };
  Answer Render(const Request& request);

  // The page of any address the service does not know.
  std::string NotFoundPage() const;

 private:
  Database& db_;
  PageBuilder builder_;
  ViewSessions sessions_;
};

}  // namespace server
