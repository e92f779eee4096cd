#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "model/BlogStorage.h"

namespace net {
class Stream;
}

namespace model {

class ProgressReporter;

// The database of a blog kept on the device: its file, the sync marks and the
// user-facing hooks of version checks and errors.
class LocalBlogStorage : public BlogStorage {
 public:
  virtual uint32_t Load() = 0;
  virtual uint32_t Save() = 0;
  virtual std::unique_ptr<BlogAlbum> NewCategory() const = 0;
  virtual std::unique_ptr<BlogEntry> NewEntry() const = 0;
  virtual std::unique_ptr<BlogComment> NewComment() const = 0;
  // A photo file and not only a thumbnail.
  virtual bool IsPhotoSizeCode(uint8_t code) const = 0;
  virtual uint32_t WriteDownloadedFile(std::string_view fileName,
                                       std::unique_ptr<net::Stream>& stream) = 0;
  // The photo file an entry had before it got a new one goes once the database
  // no longer names it (at the next save).
  virtual void DeleteReplacedPhotoAtSave(const BlogEntry& entry, std::string_view oldPath) = 0;
  virtual bool IsEntryReadOnly(const BlogEntry* entry, bool aboutNewEntry = false) const = 0;
  virtual bool IsCommentLocked(const BlogComment* comment) const = 0;
  virtual void MarkCategoriesUnconfirmed() = 0;
  virtual void ConfirmCategory(BlogAlbum& category) = 0;
  virtual void DropUnconfirmedCategories() = 0;
  virtual void MoveCategoryEntries(uint32_t fromId, uint32_t toId) = 0;
  virtual void MarkEntriesUnconfirmed() = 0;
  virtual void ConfirmEntry(BlogEntry& entry) = 0;
  virtual void DropUnconfirmedEntries() = 0;
  virtual void MarkCommentsUnconfirmed() = 0;
  virtual void ConfirmCommentsOf(uint32_t entryId) = 0;
  virtual void ConfirmComment(BlogComment& comment) = 0;
  virtual void DropUnconfirmedComments() = 0;
  virtual uint16_t GetEntryLimit() const = 0;
  // Keeps the newest entries up to the limit (and those still to be sent). The
  // wait callback is told 1 before and 0 after a long trim.
  virtual void TrimToLimit(const std::function<void(int)>& wait) = 0;
  virtual bool GetDeleteAfterUpload() const = 0;
  // Version and message hooks of the service client.
  // True for an explicit check or when the last check is more than a day old.
  virtual bool ShouldCheckVersion(bool explicitCheck) = 0;
  // Offers a newer version; stores it as ignored when the user asks; answers
  // whether the user chose to download it (the program then quits).
  virtual bool OfferNewVersion(std::string_view version) = 0;
  // Shows a service note and remembers its number as the last one shown.
  virtual void ShowServiceMessage(uint32_t number, std::string_view text,
                                  std::string_view extra) = 0;
  // "Last message check" := now, or 0 so that the next sync tries again.
  virtual void SetMessageCheckTime(bool now) = 0;
  // Shows `text` (or the unknown-error text for `code` when there is none) in a
  // warning box, with a full stop added when asked.
  virtual void ReportError(uint32_t code, const std::string_view* text, bool addFullStop) = 0;
  virtual void ClearDeletedCategories() = 0;
  virtual void ClearDeletedEntries() = 0;
};

}  // namespace model
