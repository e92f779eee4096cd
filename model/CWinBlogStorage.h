#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/CBlogInfo.h"
#include "model/CObjectArray.h"
#include "model/CWinBlogAlbum.h"
#include "model/CWinBlogComment.h"
#include "model/CWinBlogEntry.h"
#include "model/LocalBlogStorage.h"
#include "model/ModelConstants.h"
#include "platform/FileStamp.h"

namespace model {

class CWinBlogUser;
class ProgressReporter;

// The database of one blog on the device: its description, its entries (newest
// first), categories (by name) and comments (oldest first), the objects waiting
// to be deleted on the service, the view's filters, and its file.
class CWinBlogStorage : public LocalBlogStorage {
 public:
  static const RuntimeClass kClass;
  static std::unique_ptr<CObject> Create();

  CWinBlogStorage() = default;
  CWinBlogStorage(const CWinBlogStorage&) = delete;
  CWinBlogStorage& operator=(const CWinBlogStorage&) = delete;

  // Makes a database object for the blog `name` in `dataFolder`: path
  // "<dataFolder>\<name>.tsl", urlName := name. Null when the name would not make
  // a plain file name in that folder.
  static std::unique_ptr<CWinBlogStorage> ForName(std::string_view dataFolder,
                                                  std::string_view name);
  // A blog name that makes a database file inside the data folder.
  static bool IsValidBlogName(std::string_view name);

  const RuntimeClass* GetRuntimeClass() const override { return &kClass; }
  void Serialize(Archive& ar) override;

  // BlogStorage.
  uint32_t GetCategoryFilter() const override { return categoryFilter_; }
  uint16_t GetShowFilter() const override { return showFilter_; }
  void SetFilters(uint32_t category, uint16_t show) override;
  size_t GetCategoryCount() const override { return categories_.Count(); }
  size_t GetShownCount() const override;
  CBlogInfo* GetBlogInfo() override { return &blogInfo_; }
  CWinBlogAlbum* GetCategoryAt(size_t index) const override { return categories_.At(index); }
  CWinBlogEntry* GetShownEntryAt(size_t n) const override;
  CWinBlogEntry* GetLastShownEntry(size_t skip) const override;
  CWinBlogAlbum* FindCategory(uint32_t id) const override;
  CWinBlogAlbum* FindCategoryByName(std::string_view name) const override;
  CWinBlogEntry* FindEntry(uint32_t id) const override;
  uint16_t GetShownPosition(const BlogEntry* entry) const override;
  void SetCommentEntry(uint32_t entryId) override { commentEntryId_ = entryId; }
  size_t GetCommentCount() const override;
  CWinBlogComment* GetCommentAt(size_t n) const override;
  CWinBlogComment* FindComment(uint32_t id) const override;
  CWinBlogAlbum* GetFirstModifiedCategory() const override;
  CWinBlogAlbum* FindLocalCategory(std::string_view name) const override;
  CWinBlogEntry* FindLocalEntry(uint32_t categoryId, std::string_view title,
                                const std::string_view* caption, uint32_t date) const override;
  CWinBlogComment* GetFirstModifiedComment() const override;
  CWinBlogComment* FindLocalComment(uint32_t entryId, const std::string_view* text,
                                    uint32_t date) const override;
  CWinBlogAlbum* GetFirstDeletedCategory() const override { return deletedCategories_.First(); }
  CWinBlogEntry* GetFirstDeletedEntry() const override { return deletedEntries_.First(); }
  CWinBlogComment* GetFirstDeletedComment() const override { return deletedComments_.First(); }
  uint32_t AddCategory(const BlogAlbum& category) override;
  void RemoveCategory(const BlogAlbum& category, bool destroy) override;
  uint32_t AddEntry(const BlogEntry& entry) override;
  void RemoveEntry(const BlogEntry& entry, bool destroy, bool deletePhoto) override;
  void RemoveEntryFromDevice(BlogEntry& entry) override;
  void DestroyEntry(const BlogEntry& entry) override;
  uint32_t AddComment(const BlogComment& comment) override;
  void RemoveComment(const BlogComment& comment, bool destroy) override;

  // LocalBlogStorage.
  // Reads the file at the path: 0 when it was read or cannot be opened (the object
  // then stays as it was), else a failure code; objects read completely before a
  // failure are kept.
  uint32_t Load() override;
  // Writes the whole file through a temporary file renamed over the old one:
  // 0, the system code when it cannot be created (reported), or -1 when writing
  // failed. Once the file is written, the photo files queued by DeletePhotoAtSave
  // are deleted (see PhotoDeletionResult).
  uint32_t Save() override;
  std::unique_ptr<BlogAlbum> NewCategory() const override;
  std::unique_ptr<BlogEntry> NewEntry() const override;
  std::unique_ptr<BlogComment> NewComment() const override;
  bool IsPhotoSizeCode(uint8_t code) const override { return code > kSizeThumbnails; }
  // Writes `stream` to a plain-named file of the photo folder and replaces it by a
  // read stream on that file (a net::Win32LargeStream). A file already there is
  // replaced only once the new one is whole; a partial one is removed.
  uint32_t WriteDownloadedFile(std::string_view fileName,
                               std::unique_ptr<net::Stream>& stream) override;
  bool IsEntryReadOnly(const BlogEntry* entry, bool aboutNewEntry = false) const override;
  bool IsCommentLocked(const BlogComment* comment) const override;
  void MarkCategoriesUnconfirmed() override;
  void ConfirmCategory(BlogAlbum& category) override;
  void DropUnconfirmedCategories() override;
  void MoveCategoryEntries(uint32_t fromId, uint32_t toId) override;
  void MarkEntriesUnconfirmed() override;
  void ConfirmEntry(BlogEntry& entry) override;
  void DropUnconfirmedEntries() override;
  void MarkCommentsUnconfirmed() override;
  void ConfirmCommentsOf(uint32_t entryId) override;
  void ConfirmComment(BlogComment& comment) override;
  void DropUnconfirmedComments() override;
  uint16_t GetEntryLimit() const override;
  bool GetDeleteAfterUpload() const override { return blogInfo_.deleteAfterUpload; }
  bool ShouldCheckVersion(bool explicitCheck) override;
  bool OfferNewVersion(std::string_view version) override;
  void ShowServiceMessage(uint32_t number, std::string_view text,
                          std::string_view extra) override;
  void SetMessageCheckTime(bool now) override;
  void ReportError(uint32_t code, const std::string_view* text, bool addFullStop) override;
  void ClearDeletedCategories() override { deletedCategories_.Clear(); }
  void ClearDeletedEntries() override { deletedEntries_.Clear(); }

  // Inserting objects made on the device (the object itself, at its sorted place).
  void InsertEntry(std::unique_ptr<CWinBlogEntry> entry);
  void InsertCategory(std::unique_ptr<CWinBlogAlbum> category);
  void InsertComment(std::unique_ptr<CWinBlogComment> comment);
  // Moves one entry to its date place after its date changed.
  void ResortEntry(CWinBlogEntry* entry);
  // Fills an empty entry for the photo file at `photoPath` (the camera's and Add
  // Photo's way to make an entry). A file that is not a JPEG photo makes no
  // entry: the user is told, naming the file, and the answer is 10200;
  // otherwise 0.
  uint32_t NewLocalEntry(CWinBlogEntry& entry, std::string_view photoPath);
  long IndexOfCategory(uint32_t id) const;
  long IndexOfEntry(const BlogEntry* entry) const;
  // The next temporary category id, or 0 when all 256 are taken (0 is never a
  // valid answer: it is the id of Unfiled).
  uint32_t NextLocalCategoryId() const;
  bool CategoryNameExists(std::string_view name) const;
  // Files the shown entries under `category` (null: Unfiled); answers whether some
  // were skipped for want of permission.
  bool CategorizeShown(const BlogAlbum* category);
  // Deletes an entry on the web at the next sync (onWeb) or from this device
  // only; with deletePhoto its photo file goes at the next Save.
  void DiscardEntry(CWinBlogEntry* entry, bool onWeb, bool deletePhoto, long position = -1);
  void DiscardShownEntries(bool onWeb, bool deletePhoto);
  // Keeps the newest entries up to the limit (and those still to be sent). The
  // wait callback is told 1 before and 0 after a long trim.
  void TrimToLimit(const std::function<void(int)>& wait = nullptr) override;

  // Photo files. Deleting photos of entries waits for the next Save, so that a
  // program stopped in between never leaves a saved entry without its photo:
  // DeletePhotoAtSave takes the photo off the entry now, and Save deletes the
  // file once the database no longer names it. A file that cannot be deleted
  // gives its entry the path back (saved again) and its code is the
  // PhotoDeletionResult of that Save. DiscardEntry and DiscardShownEntries (with
  // deletePhoto) and the two purges queue their photos this way.
  void DeletePhotoAtSave(CWinBlogEntry& entry);
  // A photo file that `entry` no longer names (it has a new one) goes at the
  // next Save in the same way; one that cannot be deleted stays where it is.
  void DeleteReplacedPhotoAtSave(const BlogEntry& entry, std::string_view oldPath) override;
  uint32_t PhotoDeletionResult() const { return photoDeletionResult_; }
  // Deletes the queued photo files now, for a blog whose database file is gone;
  // answers the first failure.
  uint32_t DeleteQueuedPhotos();
  // The photos of the shown entries that are on the service (pending ones keep
  // theirs), then the photo folder when it is left empty.
  void PurgeShownPhotos();
  void PurgeAllPhotos();
  uint32_t RemoveFolderIfEmpty(std::string_view folder);
  // Moves the photos of the shown entries from one storage location to another
  // ("\" for main memory, else a card's folder), stopping at the first failure;
  // then saves. Each photo is copied and checked first; the originals are
  // deleted once the database that names the copies is saved. Answers 0, 1223,
  // the system code of the failed copy, or the save's failure.
  uint32_t MovePhotos(ProgressReporter* progress, std::string_view sourceRoot,
                      std::string_view destinationRoot);
  bool HasPhoto(std::u16string_view path) const;

  // Photo folders: computes, creates and remembers the blog's photo folder.
  uint32_t ComputePhotoFolder();
  const std::string& GetPhotoFolder() const { return photoFolder_; }
  // The folder this blog's photos have under a storage location (created).
  uint32_t PhotoFolderOn(std::string_view locationRoot, std::string& out);
  // The first storage card's folder ("\Storage Card"), or empty.
  static std::string FindStorageCard();
  // Every storage card's folder, in the order the root folder lists them.
  static std::vector<std::string> StorageCards();

  // Another program's save: whether the file differs from the one this object
  // last read or wrote, and whether that file is gone.
  bool FileChanged() const;
  bool FileRemoved() const;
  // Reads the file again when another program changed it, dropping what this
  // object held (pointers to its entries, categories and comments too); answers
  // whether it did.
  bool ReloadIfChanged();

  // Whether an entry passes the show and category filters.
  bool IsShown(const CWinBlogEntry& entry) const;

  // The account whose userId the permission rules use; set by the blog list.
  void SetAccount(const CWinBlogUser* user) { account_ = user; }
  const CWinBlogUser* GetAccount() const { return account_; }
  uint32_t CurrentUserId() const;

  // Direct access for the owning code, the views and the tools.
  const CObjectArray<CWinBlogEntry>& Entries() const { return entries_; }
  const CObjectArray<CWinBlogAlbum>& Categories() const { return categories_; }
  const CObjectArray<CWinBlogComment>& Comments() const { return comments_; }
  const CObjectArray<CWinBlogEntry>& DeletedEntries() const { return deletedEntries_; }
  const CObjectArray<CWinBlogAlbum>& DeletedCategories() const { return deletedCategories_; }
  const CObjectArray<CWinBlogComment>& DeletedComments() const { return deletedComments_; }
  const CBlogInfo& Info() const { return blogInfo_; }
  uint16_t GetVersion() const { return version_; }
  uint32_t GetLastSync() const { return lastSync_; }
  void SetLastSync(uint32_t value) { lastSync_ = value; }
  const std::string& GetPath() const { return path_; }
  void SetPath(std::string_view path) { path_ = path; }
  bool syncMark = false;
  bool newSubscription = false;

 private:
  // Whether an entry other than `except` has the photo at `path`.
  bool NamesPhoto(std::string_view path, const CWinBlogEntry* except) const;
  // The path a moved photo takes in `folder`.
  std::string MoveTarget(std::string_view folder, std::string_view name, const CWinBlogEntry& entry) const;
  // Where an object of that date or name goes (after equal ones).
  size_t EntryInsertPosition(uint32_t date) const;
  size_t CategoryInsertPosition(std::string_view name) const;
  size_t CommentInsertPosition(uint32_t date) const;
  // Deletes the queued photo files; entries whose file stays get their path back
  // (`restored`). Answers the first failure.
  uint32_t DeleteQueuedPhotos(bool& restored);
  // Forgets what the shown-entry queries learnt when the entries or the filters
  // changed since.
  void CheckShownState() const;
  // Reads the database layout; answers false at the first failure.
  void ReadFields(Archive& ar);
  void WriteFields(Archive& ar);

  uint16_t version_ = 0;
  CBlogInfo blogInfo_;
  uint32_t lastSync_ = 0;
  CObjectArray<CWinBlogEntry> entries_;
  CObjectArray<CWinBlogAlbum> categories_;
  CObjectArray<CWinBlogComment> comments_;
  CObjectArray<CWinBlogEntry> deletedEntries_;
  CObjectArray<CWinBlogAlbum> deletedCategories_;
  CObjectArray<CWinBlogComment> deletedComments_;
  uint16_t showFilter_ = kShowAll;
  uint32_t categoryFilter_ = kAllCategories;
  uint32_t commentEntryId_ = 0;
  std::string path_;
  std::string photoFolder_;
  const CWinBlogUser* account_ = nullptr;
  // The file as this object last read or wrote it.
  platform::FileStamp fileStamp_;
  struct QueuedPhoto {
    std::string path;
    const BlogEntry* entry;  // compared only: the entry may be gone
  };
  std::vector<QueuedPhoto> photosToDelete_;
  bool tidyPhotoFolder_ = false;
  uint32_t photoDeletionResult_ = 0;

  // What the shown-entry queries learnt under the filters and the entries as they
  // were (`changes` of the entries list): the count, and where the last entry asked
  // for stands, so that asking for the entries one after the other walks the list
  // once rather than from its start each time.
  struct ShownState {
    uint64_t changes = 0;
    uint32_t category = 0;
    uint16_t show = 0;
    uint32_t userId = 0;
    bool counted = false;
    size_t count = 0;
    bool placed = false;
    size_t number = 0;    // the entry at `position` is shown entry `number`
    size_t position = 0;
  };
  mutable ShownState shown_;
};

}  // namespace model
