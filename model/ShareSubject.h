#pragma once

#include <cstdint>
#include <string>

namespace model {

class CWinBlogEntry;
class CWinBlogStorage;

// What a photo mail or a remote post is about: the entry open in the viewer,
// or else the category the blog shows (all categories and Unfiled included),
// with the title and text a remote post starts from.
struct ShareSubject {
  uint32_t categoryId = 0;
  uint32_t entryId = 0;
  std::string title;
  std::string post;

  // Fills `out` and answers 0, or answers the string id of the refusal when the
  // service does not know the entry or the category yet.
  static uint32_t Of(const CWinBlogStorage& blog, const CWinBlogEntry* entry, ShareSubject& out);
};

}  // namespace model
