#include <string>
#include <vector>

#include "model/BlogAlbum.h"
#include "model/BlogComment.h"
#include "model/BlogData.h"
#include "model/BlogEntry.h"
#include "model/LocalBlogStorage.h"
#include "model/ModelConstants.h"
#include "net/HttpResponse.h"
#include "service/MorvaneBlogService.h"
#include "service/ServiceErrors.h"

namespace service {

namespace {

constexpr uint32_t kStageSync = 0;
constexpr uint32_t kStageGetEntry = 5;

bool IsServerCode(uint32_t code) {
  return (code >= kServerErrorFirst && code <= kErrRemotePostFailed) || code == kErrUnknownServerMessage;
}

// Saves the database's two filters and puts them back when it goes.
class FilterScope {
 public:
  FilterScope(model::LocalBlogStorage& storage, uint32_t category, uint16_t show)
      : storage_(storage), category_(storage.GetCategoryFilter()), show_(storage.GetShowFilter()) {
    storage_.SetFilters(category, show);
  }
  ~FilterScope() { storage_.SetFilters(category_, show_); }
  FilterScope(const FilterScope&) = delete;
  FilterScope& operator=(const FilterScope&) = delete;

 private:
  model::LocalBlogStorage& storage_;
  uint32_t category_;
  uint16_t show_;
};

// The size an entry's photo should have and the size it has now.
struct PhotoNeed {
  uint8_t wanted = 0;
  uint8_t current = 0;
};

PhotoNeed NeedOf(const model::BlogEntry& entry, uint16_t downloadSize) {
  PhotoNeed need;
  const uint8_t code = entry.GetPhotoSize();
  if (code >= model::kSizeRequestedFirst && code <= model::kSizeRequestedLast) {
    need.wanted = static_cast<uint8_t>(code - 6);
  } else {
    need.wanted = static_cast<uint8_t>(downloadSize > 0xFF ? 0xFF : downloadSize);
    need.current = code;
  }
  return need;
}

}  // namespace

uint32_t MorvaneBlogService::Synchronize(net::ProgressCallback callback, void* context) {
  SetCallback(callback, context);
  ReportStage(kStageSync);
  bool newerExists = false;
  if (CheckVersion(false, newerExists, callback, context)) return kResultAlreadyReported;
  SetCallback(callback, context);

  uint32_t code = 0;
  // Deleted objects leave the deletion lists when their deletion is done; one that
  // stays after a successful answer ends the loop rather than looping forever.
  const void* previous = nullptr;
  while (model::BlogAlbum* category = storage_->GetFirstDeletedCategory()) {
    if (category == previous) break;
    previous = category;
    code = DeleteCategory(*category);
    storage_->CategoryChanged(nullptr);
    if (code != 0) return code;
  }
  previous = nullptr;
  while (model::BlogEntry* entry = storage_->GetFirstDeletedEntry()) {
    if (entry == previous) break;
    previous = entry;
    code = DeleteEntry(*entry);
    storage_->EntryChanged(nullptr);
    if (code != 0) return code;
  }
  previous = nullptr;
  while (model::BlogComment* comment = storage_->GetFirstDeletedComment()) {
    if (comment == previous) break;
    previous = comment;
    code = DeleteComment(*comment);
    storage_->CommentChanged(nullptr);
    if (code != 0) return code;
  }

  if (downloadSize_ != model::kSizeNothing) {
    code = GetChanges();
    if (code != 0) return code;
  }

  model::BlogData* info = storage_->GetBlogInfo();
  if (info->IsModified()) {
    code = StoreBlogInfo();
    // The settings operation leaves its server errors to its caller.
    if (IsServerCode(code)) code = ReportError(code);
  }
  const uint16_t blogType = info->GetGroupType();
  storage_->BlogInfoChanged();
  if (code != 0) return code;

  while (model::BlogAlbum* category = storage_->GetFirstModifiedCategory()) {
    code = StoreCategory(*category);
    storage_->CategoryChanged(category);
    if (code != 0) return code;
    if (storage_->GetFirstModifiedCategory() == category && category->IsModified()) break;
  }

  uint32_t missingPhotos = 0;
  std::vector<std::string> unsent;
  {
    FilterScope pending(*storage_, model::kAllCategories, model::kShowPending);
    const size_t total = storage_->GetShownCount();
    size_t skipped = 0;
    uint16_t number = 0;
    while (number < total) {
      model::BlogEntry* entry = storage_->GetLastShownEntry(skipped);
      if (entry == nullptr) break;
      ++number;
      code = StoreEntry(*entry, callback, context, blogType, number, static_cast<uint16_t>(total));
      if (code == kResultPhotoMissing || code == kResultInvalidJpeg || code == kResultPhotoRefused) {
        if (code == kResultPhotoMissing) {
          ++missingPhotos;
        } else {
          unsent.push_back(UnsentPhotoItem(*entry, code));
        }
        ++skipped;
        code = 0;
        continue;
      }
      if (code != 0) break;
      storage_->EntryChanged(entry);
      if (entry->IsModified()) ++skipped;
    }
  }

  if (code == 0) {
    while (model::BlogComment* comment = storage_->GetFirstModifiedComment()) {
      code = StoreComment(*comment, callback, context);
      storage_->CommentChanged(comment);
      if (code != 0) break;
      if (storage_->GetFirstModifiedComment() == comment && comment->IsModified()) break;
    }
  }

  if (missingPhotos != 0) {
    const std::string text = ServiceErrors::GetErrorText(kResultPhotoMissing);
    const std::string_view shown = text;
    storage_->ReportError(kResultPhotoMissing, &shown, false);
  }
  ReportUnsentPhotos(unsent);
  return code;
}

uint32_t MorvaneBlogService::GetChanges() {
  std::unique_ptr<net::HttpResponse> response;
  uint32_t code = RequestChanges(response);
  while (code == kErrPasswordProtected || code == kErrWrongViewPassword) {
    model::BlogData* info = storage_->GetBlogInfo();
    if (!info->AskViewPassword(blogName_)) return kResultAlreadyReported;
    viewPassword_ = info->GetViewPassword();
    code = RequestChanges(response);
  }
  if (code != 0) return code;

  code = ApplyChanges(*response->GetBody());
  response.reset();
  if (code != 0) return code;

  storage_->TrimToLimit(nullptr);

  FilterScope all(*storage_, model::kAllCategories, model::kShowAll);
  // The first pass notes the entries by id, so that the downloads find them again
  // whatever the intake of a photo does to the list.
  std::vector<uint32_t> waiting;
  for (size_t i = 0, count = storage_->GetShownCount(); i < count; ++i) {
    const model::BlogEntry* entry = storage_->GetShownEntryAt(i);
    if (entry == nullptr || !entry->HasId()) continue;
    const PhotoNeed need = NeedOf(*entry, downloadSize_);
    if (need.current < need.wanted) waiting.push_back(entry->GetId());
  }
  const uint16_t total = static_cast<uint16_t>(waiting.size() > 0xFFFF ? 0xFFFF : waiting.size());
  uint16_t number = 0;
  for (uint32_t id : waiting) {
    model::BlogEntry* entry = storage_->FindEntry(id);
    if (number < 0xFFFF) ++number;
    if (entry == nullptr) continue;
    const PhotoNeed need = NeedOf(*entry, downloadSize_);
    const std::string title = entry->GetTitle();
    ReportStage(kStageGetEntry, &title, number, total);
    const bool wasModified = entry->IsModified();
    code = FetchEntryPhoto(*entry, need.wanted);
    entry->SetModified(wasModified);
    if (code == kResultInvalidJpeg) continue;
    if (code != 0) return code;
    code = storage_->AddEntry(*entry);
    if (code != 0) return code;
  }
  return 0;
}

}  // namespace service
