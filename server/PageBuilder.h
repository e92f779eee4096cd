#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "server/Records.h"
#include "server/UrlBuilder.h"

namespace server {

// The HTML of the blog pages, made from records of the store: the photo grid of a
// blog or category, one entry with its comments, the categories, the view-password
// form of hidden blogs and the pages that say something went wrong. Every text
// from a user is escaped; no page needs a script, and each carries the tags that
// let mail and chat programs show a preview of a shared link.
class PageBuilder {
 public:
  static constexpr int64_t kEntriesPerPage = 50;

  explicit PageBuilder(const UrlBuilder& urls) : urls_(urls) {}

  // One page (counted from 1) of the entries of a blog, or of one category.
  struct Grid {
    std::optional<CategoryRecord> category;
    std::vector<EntryRecord> entries;
    int64_t page = 1;
    int64_t pages = 1;
  };
  std::string GridPage(const BlogRecord& blog, const Grid& grid) const;

  // One entry with its category, comments and the entries next to it.
  struct Entry {
    EntryRecord entry;
    std::optional<CategoryRecord> category;
    std::vector<CommentRecord> comments;
    std::optional<EntryRecord> newer;
    std::optional<EntryRecord> older;
  };
  std::string EntryPage(const BlogRecord& blog, const Entry& entry) const;

  struct Category {
    CategoryRecord category;
    int64_t entries = 0;
    std::optional<EntryRecord> newest;
  };
  std::string CategoriesPage(const BlogRecord& blog, const std::vector<Category>& categories) const;

  // The form asking for a hidden blog's view password, posting to action; wrong:
  // the password just given was wrong. A hidden blog without a view password is
  // closed to every visitor, and its page says so instead.
  std::string PasswordPage(const BlogRecord& blog, const std::string& action, bool wrong) const;

  // A heading and a sentence (not found, bad request), under the blog's header
  // when a visible blog is given.
  std::string MessagePage(const BlogRecord* blog, const std::string& heading, const std::string& text) const;

  // The address of a page of a grid whose first page is at `first`; the first
  // page keeps its address.
  static std::string PageUrl(const std::string& first, int64_t page);

 private:
  struct Meta;
  std::string Document(const Meta& meta, const std::string& header, const std::string& main) const;
  std::string Header(const BlogRecord* blog, bool showNavigation) const;
  std::string Tile(const BlogRecord& blog, const EntryRecord& entry, size_t index) const;
  std::string MediumImage(const EntryRecord& entry, const std::string& alt, bool lazy) const;

  const UrlBuilder& urls_;
};

}  // namespace server
