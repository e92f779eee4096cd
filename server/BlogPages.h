#pragma once

#include <optional>
#include <string>

#include "server/Database.h"
#include "server/UrlBuilder.h"

namespace server {

// Plain HTML pages of a blog: its entries with thumbnails, its categories, one
// entry with its comments. Every text from the store is escaped.
class BlogPages {
 public:
  BlogPages(Database& db, const UrlBuilder& urls) : db_(db), urls_(urls) {}

  // Fills html and answers the HTTP status: 200, 404 for an unknown blog, entry
  // or category, 403 for a hidden blog, 400 for a malformed number.
  int Render(const std::string& blog, const std::optional<std::string>& albumId,
             const std::optional<std::string>& preview, std::string& html);

  static std::string Escape(const std::string& text);

 private:
  Database& db_;
  const UrlBuilder& urls_;
};

}  // namespace server
