#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"

namespace cli {

// How the local commands name what they act on: a blog by its name, an entry
// by its service id or by "#N", its place in the list `entries BLOG` prints,
// and filters by the words of --show and --category.
class BlogSelection {
 public:
  // The device's account with its blogs, and the blog a command names.
  struct Opened {
    std::unique_ptr<model::CWinBlogUser> user;
    model::CWinBlogStorage* blog = nullptr;
  };

  static std::unique_ptr<model::CWinBlogUser> LoadAccount();
  // Null after saying on `err` that there is no such blog.
  static std::optional<Opened> OpenBlog(const std::string& name, std::ostream& err);
  // The entries `entries BLOG` lists by default, in order: all but those
  // removed from the device.
  static std::vector<model::CWinBlogEntry*> DefaultListing(const model::CWinBlogStorage& blog);
  // The entry named by "ID" or "#N", with its place in the database's list;
  // null after saying why on `err`.
  static model::CWinBlogEntry* ResolveEntry(const model::CWinBlogStorage& blog, const std::string& name,
                                            long& position, std::ostream& err);
  // all|pending|published|mine.
  static std::optional<uint16_t> ParseShow(const std::string& show);
  // "all", "unfiled" or a category name.
  static std::optional<uint32_t> ParseCategory(const model::CWinBlogStorage& blog, const std::string& name);
  static std::string CategoryName(const model::CWinBlogStorage& blog, uint32_t id);
};

}  // namespace cli
