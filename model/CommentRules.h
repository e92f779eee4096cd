#pragma once

#include <cstdint>
#include <string_view>

namespace model {

class CWinBlogComment;
class CWinBlogStorage;

// Writing and deleting an entry's comments on the device, the same for the
// Comments screen and the command line. The caller saves the database.
class CommentRules {
 public:
  // A new comment on the entry `entryId` with `text` (UTF-8), dated now and
  // waiting to be sent, put in the database at its date's place. Answers it
  // (the database owns it).
  static CWinBlogComment* Add(CWinBlogStorage& blog, uint32_t entryId, std::string_view text);
  // Delete: without a comment "You must select an item in the list before using
  // this command.", for a comment the database locks "You don't have permission
  // to delete the selected comment." (exclamation icon); otherwise asks "Are you
  // sure you want to delete the selected comment?". On Yes the comment leaves
  // the list for the deletions of the next sync. Answers whether it did.
  static bool Delete(CWinBlogStorage& blog, const CWinBlogComment* comment);
};

}  // namespace model
