#include "model/RuntimeClass.h"

#include "model/CWinBlogAlbum.h"
#include "model/CWinBlogComment.h"
#include "model/CWinBlogEntry.h"
#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"

namespace model {

const RuntimeClass* FindRuntimeClass(std::string_view name) {
  static const RuntimeClass* const kClasses[] = {
      &CWinBlogAlbum::kClass, &CWinBlogEntry::kClass, &CWinBlogComment::kClass,
      &CWinBlogStorage::kClass, &CWinBlogUser::kClass,
  };
  for (const RuntimeClass* cls : kClasses) {
    if (name == cls->name) return cls;
  }
  return nullptr;
}

}  // namespace model
