#include "model/CWinBlogStorage.h"

#include <new>
#include <vector>

#include "model/CWinBlogUser.h"
#include "model/NoCase.h"
#include "platform/ErrorCodes.h"

namespace model {

namespace {

// Position in `list` of `obj` when it is there, else of the first object with
// `id`, else -1. Device objects of one id (0 for unsent ones) are told apart by
// identity first, so that an operation never hits a look-alike.
template <class T>
long IndexOfObjectOrId(const CObjectArray<T>& list, const void* obj, uint32_t id) {
  long byId = -1;
  for (size_t i = 0; i < list.Count(); ++i) {
    const T* item = list.At(i);
    if (item == obj) return static_cast<long>(i);
    if (byId < 0 && item->GetId() == id) byId = static_cast<long>(i);
  }
  return byId;
}

template <class T>
long IndexOfId(const CObjectArray<T>& list, uint32_t id) {
  for (size_t i = 0; i < list.Count(); ++i) {
    if (list.At(i)->GetId() == id) return static_cast<long>(i);
  }
  return -1;
}

}  // namespace

const RuntimeClass CWinBlogStorage::kClass{"CWinBlogStorage", 0, &CWinBlogStorage::Create};

std::unique_ptr<CObject> CWinBlogStorage::Create() { return std::make_unique<CWinBlogStorage>(); }

uint32_t CWinBlogStorage::CurrentUserId() const {
  return account_ != nullptr ? account_->GetUserId() : 0;
}

void CWinBlogStorage::SetFilters(uint32_t category, uint16_t show) {
  categoryFilter_ = category;
  showFilter_ = show;
}

bool CWinBlogStorage::IsShown(const CWinBlogEntry& entry) const {
  if (categoryFilter_ != kAllCategories && categoryFilter_ != entry.GetCategoryId()) return false;
  if (showFilter_ == kShowEverything) return true;
  if (entry.IsRemoved()) return false;
  switch (showFilter_) {
    case kShowAll: return true;
    case kShowPending: return entry.IsModified();
    case kShowPublished: return !entry.IsModified();
    case kShowPublishedByMe:
      return !entry.IsModified() && entry.GetAuthorId() == CurrentUserId();
    default: return false;
  }
}

size_t CWinBlogStorage::GetShownCount() const {
  if (categoryFilter_ == kAllCategories && showFilter_ == kShowEverything) return entries_.Count();
  size_t count = 0;
  for (const auto& entry : entries_) {
    if (IsShown(*entry)) ++count;
  }
  return count;
}

CWinBlogEntry* CWinBlogStorage::GetShownEntryAt(size_t n) const {
  if (categoryFilter_ == kAllCategories && showFilter_ == kShowEverything) return entries_.At(n);
  for (const auto& entry : entries_) {
    if (IsShown(*entry) && n-- == 0) return entry.get();
  }
  return nullptr;
}

CWinBlogEntry* CWinBlogStorage::GetLastShownEntry(size_t skip) const {
  if (categoryFilter_ == kAllCategories && showFilter_ == kShowEverything) {
    return skip < entries_.Count() ? entries_.At(entries_.Count() - 1 - skip) : nullptr;
  }
  for (size_t i = entries_.Count(); i-- > 0;) {
    CWinBlogEntry* entry = entries_.At(i);
    if (IsShown(*entry) && skip-- == 0) return entry;
  }
  return nullptr;
}

CWinBlogAlbum* CWinBlogStorage::FindCategory(uint32_t id) const {
  long i = IndexOfId(categories_, id);
  return i < 0 ? nullptr : categories_.At(static_cast<size_t>(i));
}

CWinBlogAlbum* CWinBlogStorage::FindCategoryByName(std::string_view name) const {
  for (const auto& category : categories_) {
    if (EqualsNoCase(category->GetName(), name)) return category.get();
  }
  return nullptr;
}

CWinBlogEntry* CWinBlogStorage::FindEntry(uint32_t id) const {
  long i = IndexOfId(entries_, id);
  return i < 0 ? nullptr : entries_.At(static_cast<size_t>(i));
}

uint16_t CWinBlogStorage::GetShownPosition(const BlogEntry* entry) const {
  bool fast = categoryFilter_ == kAllCategories && showFilter_ == kShowEverything;
  size_t before = 0;
  for (size_t i = 0; i < entries_.Count(); ++i) {
    const CWinBlogEntry* item = entries_.At(i);
    if (item == entry) return static_cast<uint16_t>(fast ? i : before);
    if (!fast && IsShown(*item)) ++before;
  }
  return 0xFFFF;
}

size_t CWinBlogStorage::GetCommentCount() const {
  size_t count = 0;
  for (const auto& comment : comments_) {
    if (comment->GetEntryId() == commentEntryId_) ++count;
  }
  return count;
}

CWinBlogComment* CWinBlogStorage::GetCommentAt(size_t n) const {
  for (const auto& comment : comments_) {
    if (comment->GetEntryId() == commentEntryId_ && n-- == 0) return comment.get();
  }
  return nullptr;
}

CWinBlogComment* CWinBlogStorage::FindComment(uint32_t id) const {
  long i = IndexOfId(comments_, id);
  return i < 0 ? nullptr : comments_.At(static_cast<size_t>(i));
}

CWinBlogAlbum* CWinBlogStorage::GetFirstModifiedCategory() const {
  for (const auto& category : categories_) {
    if (category->IsModified()) return category.get();
  }
  return nullptr;
}

CWinBlogAlbum* CWinBlogStorage::FindLocalCategory(std::string_view name) const {
  for (const auto& category : categories_) {
    if (category->GetId() >= kFirstLocalCategoryId && EqualsNoCase(category->GetName(), name)) {
      return category.get();
    }
  }
  return nullptr;
}

CWinBlogEntry* CWinBlogStorage::FindLocalEntry(uint32_t categoryId, std::string_view title,
                                               const std::string_view* caption,
                                               uint32_t date) const {
  for (const auto& entry : entries_) {
    if (entry->GetId() == 0 && entry->GetCategoryId() == categoryId &&
        EqualsNoCase(entry->GetTitle(), title) &&
        (caption == nullptr || EqualsNoCase(entry->GetCaption(), *caption)) &&
        (date == 0 || entry->GetDate() == date)) {
      return entry.get();
    }
  }
  return nullptr;
}

CWinBlogComment* CWinBlogStorage::GetFirstModifiedComment() const {
  for (const auto& comment : comments_) {
    if (comment->IsModified()) return comment.get();
  }
  return nullptr;
}

CWinBlogComment* CWinBlogStorage::FindLocalComment(uint32_t entryId, const std::string_view* text,
                                                   uint32_t date) const {
  for (const auto& comment : comments_) {
    if (comment->GetId() == 0 && comment->GetEntryId() == entryId &&
        (date == 0 || comment->GetDate() == date) &&
        (text == nullptr || EqualsNoCase(comment->GetText(), *text))) {
      return comment.get();
    }
  }
  return nullptr;
}

// ---- Ordered insertion ----

size_t CWinBlogStorage::EntryInsertPosition(uint32_t date) const {
  long lo = 0;
  long hi = static_cast<long>(entries_.Count()) - 1;
  while (lo <= hi) {
    long mid = (lo + hi) / 2;
    int32_t diff = static_cast<int32_t>(entries_.At(static_cast<size_t>(mid))->GetDate() - date);
    if (diff < 0) {
      hi = mid - 1;
    } else {
      lo = mid + 1;
    }
  }
  return static_cast<size_t>(lo);
}

size_t CWinBlogStorage::CategoryInsertPosition(std::string_view name) const {
  long lo = 0;
  long hi = static_cast<long>(categories_.Count()) - 1;
  while (lo <= hi) {
    long mid = (lo + hi) / 2;
    if (CompareNoCase(name, categories_.At(static_cast<size_t>(mid))->GetName()) < 0) {
      hi = mid - 1;
    } else {
      lo = mid + 1;
    }
  }
  return static_cast<size_t>(lo);
}

size_t CWinBlogStorage::CommentInsertPosition(uint32_t date) const {
  long lo = 0;
  long hi = static_cast<long>(comments_.Count()) - 1;
  while (lo <= hi) {
    long mid = (lo + hi) / 2;
    if (date < comments_.At(static_cast<size_t>(mid))->GetDate()) {
      hi = mid - 1;
    } else {
      lo = mid + 1;
    }
  }
  return static_cast<size_t>(lo);
}

void CWinBlogStorage::InsertEntry(std::unique_ptr<CWinBlogEntry> entry) {
  size_t at = EntryInsertPosition(entry->GetDate());
  entries_.InsertAt(at, std::move(entry));
}

void CWinBlogStorage::InsertCategory(std::unique_ptr<CWinBlogAlbum> category) {
  size_t at = CategoryInsertPosition(category->GetName());
  categories_.InsertAt(at, std::move(category));
}

void CWinBlogStorage::InsertComment(std::unique_ptr<CWinBlogComment> comment) {
  size_t at = CommentInsertPosition(comment->GetDate());
  comments_.InsertAt(at, std::move(comment));
}

void CWinBlogStorage::ResortEntry(CWinBlogEntry* entry) {
  long i = entries_.IndexOf(entry);
  if (i < 0) return;
  InsertEntry(entries_.RemoveAt(static_cast<size_t>(i)));
}

// ---- Changes from the service ----

uint32_t CWinBlogStorage::AddCategory(const BlogAlbum& category) {
  const auto* source = dynamic_cast<const CWinBlogAlbum*>(&category);
  if (source == nullptr) return platform::kErrInvalidParameter;
  if (FindCategory(source->GetId()) != nullptr) return 0;
  try {
    auto copy = std::make_unique<CWinBlogAlbum>();
    copy->CopyFrom(*source);
    InsertCategory(std::move(copy));
  } catch (const std::bad_alloc&) {
    return platform::kErrNotEnoughMemory;
  }
  return 0;
}

uint32_t CWinBlogStorage::AddEntry(const BlogEntry& entry) {
  const auto* source = dynamic_cast<const CWinBlogEntry*>(&entry);
  if (source == nullptr) return platform::kErrInvalidParameter;
  if (FindEntry(source->GetId()) != nullptr) return 0;
  try {
    auto copy = std::make_unique<CWinBlogEntry>();
    copy->CopyFrom(*source);
    InsertEntry(std::move(copy));
  } catch (const std::bad_alloc&) {
    return platform::kErrNotEnoughMemory;
  }
  return 0;
}

uint32_t CWinBlogStorage::AddComment(const BlogComment& comment) {
  const auto* source = dynamic_cast<const CWinBlogComment*>(&comment);
  if (source == nullptr) return platform::kErrInvalidParameter;
  if (FindComment(source->GetId()) != nullptr) return 0;
  try {
    auto copy = std::make_unique<CWinBlogComment>();
    copy->CopyFrom(*source);
    InsertComment(std::move(copy));
  } catch (const std::bad_alloc&) {
    return platform::kErrNotEnoughMemory;
  }
  return 0;
}

void CWinBlogStorage::RemoveCategory(const BlogAlbum& category, bool destroy) {
  const uint32_t id = category.GetId();
  const void* self = &category;
  long i = IndexOfObjectOrId(categories_, self, id);
  if (i >= 0) {
    std::unique_ptr<CWinBlogAlbum> taken = categories_.RemoveAt(static_cast<size_t>(i));
    if (!destroy) deletedCategories_.Append(std::move(taken));
    MoveCategoryEntries(id, kUnfiledCategoryId);
  }
  if (destroy) {
    long d = IndexOfObjectOrId(deletedCategories_, self, id);
    if (d >= 0) deletedCategories_.RemoveAt(static_cast<size_t>(d));
  }
}

void CWinBlogStorage::RemoveEntry(const BlogEntry& entry, bool destroy, bool deletePhoto) {
  const uint32_t id = entry.GetId();
  const void* self = &entry;
  long i = IndexOfObjectOrId(entries_, self, id);
  if (i >= 0) {
    if (deletePhoto) entries_.At(static_cast<size_t>(i))->DeletePhoto();
    std::unique_ptr<CWinBlogEntry> taken = entries_.RemoveAt(static_cast<size_t>(i));
    if (!destroy) {
      taken->SetThumbnail({});
      deletedEntries_.Append(std::move(taken));
    }
  }
  if (destroy) {
    long d = IndexOfObjectOrId(deletedEntries_, self, id);
    if (d >= 0) deletedEntries_.RemoveAt(static_cast<size_t>(d));
  }
}

void CWinBlogStorage::RemoveEntryFromDevice(BlogEntry& entry) {
  entry.MarkRemoved();
  entry.SetModified(false);
}

void CWinBlogStorage::DestroyEntry(const BlogEntry& entry) { RemoveEntry(entry, true, true); }

void CWinBlogStorage::RemoveComment(const BlogComment& comment, bool destroy) {
  const uint32_t id = comment.GetId();
  const void* self = &comment;
  long i = IndexOfObjectOrId(comments_, self, id);
  if (i >= 0) {
    std::unique_ptr<CWinBlogComment> taken = comments_.RemoveAt(static_cast<size_t>(i));
    if (!destroy) deletedComments_.Append(std::move(taken));
  }
  if (destroy) {
    long d = IndexOfObjectOrId(deletedComments_, self, id);
    if (d >= 0) deletedComments_.RemoveAt(static_cast<size_t>(d));
  }
}

std::unique_ptr<BlogAlbum> CWinBlogStorage::NewCategory() const {
  return std::make_unique<CWinBlogAlbum>();
}

std::unique_ptr<BlogEntry> CWinBlogStorage::NewEntry() const {
  return std::make_unique<CWinBlogEntry>();
}

std::unique_ptr<BlogComment> CWinBlogStorage::NewComment() const {
  return std::make_unique<CWinBlogComment>();
}

// ---- Permissions ----

bool CWinBlogStorage::IsEntryReadOnly(const BlogEntry* entry, bool aboutNewEntry) const {
  const uint32_t userId = CurrentUserId();
  if (userId == 0) return true;
  if (blogInfo_.readOnly) return true;
  if (blogInfo_.groupType == 0) return false;
  if (userId == blogInfo_.ownerId) return false;
  if (aboutNewEntry) return false;
  if (entry == nullptr) return true;
  if (!entry->HasId()) return false;
  return entry->GetAuthorId() != userId;
}

bool CWinBlogStorage::IsCommentLocked(const BlogComment* comment) const {
  const uint32_t userId = CurrentUserId();
  if (userId == 0) return true;
  if (comment == nullptr) return !blogInfo_.commentsAllowed;
  if (comment->HasId() && comment->GetAuthorId() != userId) return IsEntryReadOnly(nullptr);
  return false;
}

// ---- Sync marks ----

void CWinBlogStorage::MarkCategoriesUnconfirmed() {
  for (const auto& category : categories_) category->unconfirmed = true;
}

void CWinBlogStorage::ConfirmCategory(BlogAlbum& category) {
  if (auto* own = dynamic_cast<CWinBlogAlbum*>(&category)) own->ClearUnconfirmed();
}

void CWinBlogStorage::DropUnconfirmedCategories() {
  for (size_t i = categories_.Count(); i-- > 0;) {
    CWinBlogAlbum* category = categories_.At(i);
    if (!category->unconfirmed) continue;
    if (category->GetId() == 0 || category->IsModified()) {
      category->ClearUnconfirmed();
    } else {
      categories_.RemoveAt(i);
    }
  }
}

void CWinBlogStorage::MoveCategoryEntries(uint32_t fromId, uint32_t toId) {
  for (const auto& entry : entries_) {
    if (entry->GetCategoryId() == fromId) entry->SetCategoryId(toId);
  }
}

void CWinBlogStorage::MarkEntriesUnconfirmed() {
  for (const auto& entry : entries_) entry->unconfirmed = true;
}

void CWinBlogStorage::ConfirmEntry(BlogEntry& entry) {
  if (auto* own = dynamic_cast<CWinBlogEntry*>(&entry)) own->ClearUnconfirmed();
}

void CWinBlogStorage::DropUnconfirmedEntries() {
  for (size_t i = entries_.Count(); i-- > 0;) {
    CWinBlogEntry* entry = entries_.At(i);
    if (!entry->unconfirmed) continue;
    if (entry->GetId() == 0 || entry->IsModified()) {
      entry->ClearUnconfirmed();
    } else {
      entry->DeletePhoto();
      entries_.RemoveAt(i);
    }
  }
}

void CWinBlogStorage::MarkCommentsUnconfirmed() {
  for (const auto& comment : comments_) comment->unconfirmed = true;
}

void CWinBlogStorage::ConfirmCommentsOf(uint32_t entryId) {
  for (const auto& comment : comments_) {
    if (comment->GetEntryId() == entryId) comment->ClearUnconfirmed();
  }
}

void CWinBlogStorage::ConfirmComment(BlogComment& comment) {
  if (auto* own = dynamic_cast<CWinBlogComment*>(&comment)) own->ClearUnconfirmed();
}

void CWinBlogStorage::DropUnconfirmedComments() {
  for (size_t i = comments_.Count(); i-- > 0;) {
    CWinBlogComment* comment = comments_.At(i);
    if (!comment->unconfirmed) continue;
    if (comment->GetId() == 0 || comment->IsModified()) {
      comment->ClearUnconfirmed();
    } else {
      comments_.RemoveAt(i);
    }
  }
}

uint16_t CWinBlogStorage::GetEntryLimit() const {
  return blogInfo_.limitEntries ? blogInfo_.entryLimit : kNoEntryLimit;
}

void CWinBlogStorage::TrimToLimit(const std::function<void(int)>& wait) {
  const uint16_t limit = GetEntryLimit();
  if (limit == kNoEntryLimit) return;
  const uint32_t savedCategory = categoryFilter_;
  const uint16_t savedShow = showFilter_;
  SetFilters(kAllCategories, kShowEverything);
  const size_t count = GetShownCount();
  if (count > limit) {
    const bool tellWait = count - limit > 5 && wait;
    if (tellWait) wait(1);
    MarkEntriesUnconfirmed();
    MarkCommentsUnconfirmed();
    for (size_t i = 0; i < limit; ++i) {
      CWinBlogEntry* entry = GetShownEntryAt(i);
      entry->ClearUnconfirmed();
      ConfirmCommentsOf(entry->GetId());
    }
    DropUnconfirmedEntries();
    DropUnconfirmedComments();
    if (tellWait) wait(0);
  }
  SetFilters(savedCategory, savedShow);
}

// ---- Local housekeeping ----

long CWinBlogStorage::IndexOfCategory(uint32_t id) const { return IndexOfId(categories_, id); }

long CWinBlogStorage::IndexOfEntry(const BlogEntry* entry) const {
  for (size_t i = 0; i < entries_.Count(); ++i) {
    if (entries_.At(i) == entry) return static_cast<long>(i);
  }
  return -1;
}

uint32_t CWinBlogStorage::NextLocalCategoryId() const {
  uint32_t next = kFirstLocalCategoryId;
  for (const auto& category : categories_) {
    uint32_t id = category->GetId();
    if (id >= next) {
      if (id == 0xFFFFFFFFu) return 0;  // all 256 temporary ids are taken
      next = id + 1;
    }
  }
  return next;
}

bool CWinBlogStorage::CategoryNameExists(std::string_view name) const {
  return FindCategoryByName(name) != nullptr;
}

bool CWinBlogStorage::CategorizeShown(const BlogAlbum* category) {
  const uint32_t newId = category != nullptr ? category->GetId() : kUnfiledCategoryId;
  // Refiling changes what the category filter shows, so take the list first.
  std::vector<CWinBlogEntry*> shown;
  for (const auto& entry : entries_) {
    if (IsShown(*entry)) shown.push_back(entry.get());
  }
  bool skipped = false;
  for (CWinBlogEntry* entry : shown) {
    if (IsEntryReadOnly(entry)) {
      skipped = true;
    } else if (entry->GetCategoryId() != newId) {
      entry->SetCategoryId(newId);
      entry->SetModified(true);
    }
  }
  return skipped;
}

void CWinBlogStorage::DiscardEntry(CWinBlogEntry* entry, bool onWeb, bool deletePhoto, long position) {
  if (deletePhoto) DeletePhotoAtSave(*entry);
  if (!onWeb) {
    RemoveEntryFromDevice(*entry);
    return;
  }
  long i = (position >= 0 && static_cast<size_t>(position) < entries_.Count() &&
            entries_.At(static_cast<size_t>(position)) == entry)
               ? position
               : IndexOfEntry(entry);
  if (i < 0) return;
  std::unique_ptr<CWinBlogEntry> taken = entries_.RemoveAt(static_cast<size_t>(i));
  // An entry the service never stored has nothing to delete there.
  if (taken->HasId()) {
    taken->SetThumbnail({});
    deletedEntries_.Append(std::move(taken));
  }
}

void CWinBlogStorage::DiscardShownEntries(bool onWeb, bool deletePhoto) {
  for (size_t i = entries_.Count(); i-- > 0;) {
    CWinBlogEntry* entry = entries_.At(i);
    if (IsShown(*entry)) DiscardEntry(entry, onWeb, deletePhoto, static_cast<long>(i));
  }
}

}  // namespace model
