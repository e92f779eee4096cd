#include "model/CommentRules.h"

#include <memory>

#include "model/CWinBlogStorage.h"
#include "model/UserInterface.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/TextConversion.h"
#include "platform/TimeValue.h"

namespace model {

namespace s = platform::strings;

CWinBlogComment* CommentRules::Add(CWinBlogStorage& blog, uint32_t entryId, std::string_view text) {
  auto comment = std::make_unique<CWinBlogComment>();
  comment->SetTextW(platform::Utf8ToUtf16(text));
  comment->SetEntryId(entryId);
  comment->SetDate(platform::Now());
  comment->SetModified(true);
  CWinBlogComment* added = comment.get();
  blog.InsertComment(std::move(comment));
  return added;
}

bool CommentRules::Delete(CWinBlogStorage& blog, const CWinBlogComment* comment) {
  UserInterface& ui = UserInterface::Current();
  if (comment == nullptr) {
    ui.ShowMessage(platform::LoadString(s::kSelectItemFirst), MessageIcon::Exclamation);
    return false;
  }
  if (blog.IsCommentLocked(comment)) {
    ui.ShowMessage(platform::LoadString(s::kCommentLocked), MessageIcon::Exclamation);
    return false;
  }
  if (!ui.AskYesNo(platform::LoadString(s::kAskDeleteComment))) return false;
  blog.RemoveComment(*comment, false);
  return true;
}

}  // namespace model
