#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/CObjectArray.h"
#include "model/CWinBlogStorage.h"

namespace model {

class CWinBlogUser;

// The account's blog databases, owned, sorted by display name without regard to
// case (equal names after existing ones).
class CBlogList {
 public:
  explicit CBlogList(const CWinBlogUser* owner) : owner_(owner) {}

  size_t Count() const { return blogs_.Count(); }
  CWinBlogStorage* At(size_t index) const { return blogs_.At(index); }
  auto begin() const { return blogs_.begin(); }
  auto end() const { return blogs_.end(); }

  // Inserts the blog at its display-name place and answers it.
  CWinBlogStorage* InsertBlog(std::unique_ptr<CWinBlogStorage> blog);
  // The blog whose urlName equals `name` without regard to case, or null.
  CWinBlogStorage* FindBlogByName(std::u16string_view name) const;
  // Deletes the database file (and with deletePhotos the photo files first); when
  // the file is gone the blog leaves the list and is destroyed. Answers 0 or the
  // system code (the blog then stays).
  uint32_t RemoveBlog(CWinBlogStorage* blog, bool deletePhotos);
  // Adds every "*.tsl" file of the folder as a loaded blog; answers 0 or -1.
  uint32_t LoadBlogs(std::string_view folder);
  // Follows the database files of the folder that another program saved,
  // added or removed: changed blogs are read again in place (and take their
  // place in the order again), new files are added, blogs whose file was
  // removed leave the list and are destroyed. Answers whether anything changed.
  bool ReloadIfChanged(std::string_view folder);
  void ClearNewSubscriptions();
  void Clear() { blogs_.Clear(); }

 private:
  const CWinBlogUser* owner_;
  CObjectArray<CWinBlogStorage> blogs_;
};

}  // namespace model
