#include "model/CBlogList.h"

#include <vector>

#include "model/NoCase.h"
#include "platform/DeviceFileSystem.h"
#include "platform/ErrorCodes.h"
#include "platform/TextConversion.h"

namespace model {

namespace {

bool HasDatabaseExtension(const std::string& name) {
  return name.size() > 4 && EqualsNoCase(std::string_view(name).substr(name.size() - 4), ".tsl");
}

}  // namespace

CWinBlogStorage* CBlogList::InsertBlog(std::unique_ptr<CWinBlogStorage> blog) {
  const std::string& name = blog->Info().DisplayName();
  long lo = 0;
  long hi = static_cast<long>(blogs_.Count()) - 1;
  while (lo <= hi) {
    long mid = (lo + hi) / 2;
    if (CompareNoCase(name, blogs_.At(static_cast<size_t>(mid))->Info().DisplayName()) < 0) {
      hi = mid - 1;
    } else {
      lo = mid + 1;
    }
  }
  blog->SetAccount(owner_);
  CWinBlogStorage* inserted = blog.get();
  blogs_.InsertAt(static_cast<size_t>(lo), std::move(blog));
  return inserted;
}

CWinBlogStorage* CBlogList::FindBlogByName(std::u16string_view name) const {
  const std::string wanted = platform::Utf16ToUtf8(name);
  for (const auto& blog : blogs_) {
    if (EqualsNoCase(blog->Info().urlName, wanted)) return blog.get();
  }
  return nullptr;
}

uint32_t CBlogList::RemoveBlog(CWinBlogStorage* blog, bool deletePhotos) {
  long i = blogs_.IndexOf(blog);
  if (i < 0) return platform::kErrInvalidParameter;
  uint32_t rc = platform::DeviceFileSystem::Current().DeleteFile(blog->GetPath());
  // A blog that was never saved has no file to delete.
  if (rc != 0 && rc != platform::kErrFileNotFound) return rc;
  // The photos go once no database names them: a blog that stays keeps them all.
  if (deletePhotos) {
    blog->PurgeAllPhotos();
    blog->DeleteQueuedPhotos();
  }
  blogs_.RemoveAt(static_cast<size_t>(i));
  return 0;
}

uint32_t CBlogList::LoadBlogs(std::string_view folder) {
  std::vector<platform::FileInfo> items;
  if (platform::DeviceFileSystem::Current().Enumerate(folder, items) != 0) return 0;
  for (const platform::FileInfo& item : items) {
    if (item.isDirectory || !HasDatabaseExtension(item.name)) continue;
    auto blog = std::make_unique<CWinBlogStorage>();
    blog->SetPath(platform::JoinPhonePath(folder, item.name));
    blog->Load();
    InsertBlog(std::move(blog));
  }
  return 0;
}

bool CBlogList::ReloadIfChanged(std::string_view folder) {
  bool changed = false;
  for (size_t i = blogs_.Count(); i-- > 0;) {
    if (blogs_.At(i)->FileRemoved()) {
      blogs_.RemoveAt(i);
      changed = true;
    }
  }
  std::vector<CWinBlogStorage*> reloaded;
  for (const auto& blog : blogs_) {
    if (blog->ReloadIfChanged()) reloaded.push_back(blog.get());
  }
  // A title may have changed: each takes its place in the order again.
  for (CWinBlogStorage* blog : reloaded) InsertBlog(blogs_.RemoveAt(static_cast<size_t>(blogs_.IndexOf(blog))));
  changed = changed || !reloaded.empty();

  std::vector<platform::FileInfo> items;
  if (platform::DeviceFileSystem::Current().Enumerate(folder, items) != 0) return changed;
  for (const platform::FileInfo& item : items) {
    if (item.isDirectory || !HasDatabaseExtension(item.name)) continue;
    const std::string path = platform::JoinPhonePath(folder, item.name);
    bool known = false;
    for (const auto& blog : blogs_) known = known || EqualsNoCase(blog->GetPath(), path);
    if (known) continue;
    auto blog = std::make_unique<CWinBlogStorage>();
    blog->SetPath(path);
    blog->Load();
    InsertBlog(std::move(blog));
    changed = true;
  }
  return changed;
}

void CBlogList::ClearNewSubscriptions() {
  for (const auto& blog : blogs_) blog->newSubscription = false;
}

}  // namespace model

