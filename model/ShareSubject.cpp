#include "model/ShareSubject.h"

#include "model/CWinBlogStorage.h"
#include "platform/StringIds.h"

namespace model {

uint32_t ShareSubject::Of(const CWinBlogStorage& blog, const CWinBlogEntry* entry, ShareSubject& out) {
  out = ShareSubject{};
  if (entry != nullptr) {
    if (!entry->HasId()) return platform::strings::kSyncBeforeSend;
    out.categoryId = entry->GetCategoryId();
    out.entryId = entry->GetId();
    out.title = entry->GetTitle();
    out.post = entry->GetCaption();
    return 0;
  }
  out.categoryId = blog.GetCategoryFilter();
  const CWinBlogAlbum* category = blog.FindCategory(out.categoryId);
  if (category != nullptr && !category->HasServiceId()) return platform::strings::kSyncCategoryBeforeSend;
  out.title = category != nullptr ? category->GetName() : blog.Info().DisplayName();
  return 0;
}

}  // namespace model
