#include "model/Archive.h"
#include "model/ArchiveFile.h"
#include "model/CWinBlogStorage.h"
#include "model/UserInterface.h"
#include "platform/DeviceFileSystem.h"
#include "platform/ErrorCodes.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace model {

namespace {

// Save's answer when writing failed after the file was created.
constexpr uint32_t kWriteFailed = 0xFFFFFFFFu;
// The format version this program writes.
constexpr uint16_t kFileVersion = 1;
// Longest blog name, so that "<name>.tsl" stays a valid file name.
constexpr size_t kMaxBlogName = 200;

template <class T>
void WriteList(Archive& ar, const CObjectArray<T>& list) {
  ar.WriteCount(static_cast<uint32_t>(list.Count()));
  for (const auto& obj : list) ar.WriteObject(obj.get());
}

// Reads a list; objects read completely are kept when a later one fails.
template <class T>
bool ReadList(Archive& ar, CObjectArray<T>& list) {
  uint32_t count = 0;
  if (!ar.ReadCount(count)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    std::unique_ptr<CObject> obj = ar.ReadNewObject(&T::kClass);
    if (!obj) return false;
    list.Append(std::unique_ptr<T>(static_cast<T*>(obj.release())));
  }
  return true;
}

}  // namespace

bool CWinBlogStorage::IsValidBlogName(std::string_view name) {
  return platform::IsPlainFileName(name) && name.size() <= kMaxBlogName;
}

std::unique_ptr<CWinBlogStorage> CWinBlogStorage::ForName(std::string_view dataFolder,
                                                          std::string_view name) {
  if (!IsValidBlogName(name)) return nullptr;
  auto blog = std::make_unique<CWinBlogStorage>();
  blog->path_ = platform::JoinPhonePath(dataFolder, std::string(name) + ".tsl");
  blog->blogInfo_.urlName = name;
  return blog;
}

void CWinBlogStorage::Serialize(Archive& ar) {
  if (ar.IsStoring()) {
    WriteFields(ar);
  } else {
    ReadFields(ar);
  }
}

void CWinBlogStorage::WriteFields(Archive& ar) {
  const CBlogInfo& b = blogInfo_;
  version_ = kFileVersion;
  ar.WriteU16(version_);
  ar.WriteU32(0);
  ar.WriteU32(b.ownerId);
  ar.WriteU16(b.groupType);
  ar.WriteString(b.urlName);
  ar.WriteString(b.extra1);
  ar.WriteString(b.extra2);
  ar.WriteString(b.title);
  ar.WriteString(b.subtitle);
  ar.WriteString(b.viewPassword);
  ar.WriteU16(b.hidden);
  ar.WriteBool(b.readOnly);
  ar.WriteBool(b.commentsAllowed);
  ar.WriteU16(b.uploadSize);
  ar.WriteU16(b.downloadSize);
  ar.WriteBool(b.limitEntries);
  ar.WriteU16(b.entryLimit);
  ar.WriteBool(b.deleteAfterUpload);
  ar.WriteU8(b.reserved);
  ar.WriteBool(b.modified);
  ar.WriteU32(lastSync_);
  ar.WriteU16(showFilter_);
  ar.WriteU32(categoryFilter_);
  WriteList(ar, entries_);
  WriteList(ar, categories_);
  WriteList(ar, comments_);
  WriteList(ar, deletedEntries_);
  WriteList(ar, deletedCategories_);
  WriteList(ar, deletedComments_);
}

void CWinBlogStorage::ReadFields(Archive& ar) {
  CBlogInfo& b = blogInfo_;
  uint32_t reserved = 0;
  bool ok = ar.ReadU16(version_) && ar.ReadU32(reserved) && ar.ReadU32(b.ownerId) &&
            ar.ReadU16(b.groupType) && ar.ReadString(b.urlName) && ar.ReadString(b.extra1) &&
            ar.ReadString(b.extra2) && ar.ReadString(b.title) && ar.ReadString(b.subtitle) &&
            ar.ReadString(b.viewPassword) && ar.ReadU16(b.hidden) && ar.ReadBool(b.readOnly) &&
            ar.ReadBool(b.commentsAllowed) && ar.ReadU16(b.uploadSize) &&
            ar.ReadU16(b.downloadSize) && ar.ReadBool(b.limitEntries) &&
            ar.ReadU16(b.entryLimit) && ar.ReadBool(b.deleteAfterUpload) &&
            ar.ReadU8(b.reserved) && ar.ReadBool(b.modified) && ar.ReadU32(lastSync_) &&
            ar.ReadU16(showFilter_) && ar.ReadU32(categoryFilter_) &&
            ReadList(ar, entries_) && ReadList(ar, categories_) && ReadList(ar, comments_) &&
            ReadList(ar, deletedEntries_) && ReadList(ar, deletedCategories_) &&
            ReadList(ar, deletedComments_);
  if (ok && version_ == 0) {
    // Files of the first version keep comments the service no longer matches:
    // drop them and download everything again.
    comments_.Clear();
    deletedComments_.Clear();
    lastSync_ = 0;
  }
}

uint32_t CWinBlogStorage::Load() {
  archivefile::FileBytes bytes;
  uint32_t rc = archivefile::ReadAll(path_, bytes, &fileStamp_);
  if (rc == platform::kErrFileNotFound || rc == platform::kErrPathNotFound ||
      rc == platform::kErrAccessDenied || rc == platform::kErrSharingViolation) {
    return 0;
  }
  if (rc != 0) return rc;
  entries_.Clear();
  categories_.Clear();
  comments_.Clear();
  deletedEntries_.Clear();
  deletedCategories_.Clear();
  deletedComments_.Clear();
  Archive ar = Archive::ForReading(bytes.data.get(), bytes.size);
  Serialize(ar);
  return ar.Error();
}

uint32_t CWinBlogStorage::Save() {
  bool created = false;
  uint32_t rc = archivefile::WriteAtomically(path_, *this, created, &fileStamp_);
  if (!created) {
    UserInterface::Current().ShowMessage(platform::LoadString(platform::strings::kSaveFailed), MessageIcon::Error);
    return rc;
  }
  if (rc != 0) return kWriteFailed;
  bool restored = false;
  photoDeletionResult_ = DeleteQueuedPhotos(restored);
  // Photos that could not be deleted are named by their entries again.
  if (restored && archivefile::WriteAtomically(path_, *this, created, &fileStamp_) != 0) return kWriteFailed;
  return 0;
}

bool CWinBlogStorage::FileChanged() const {
  return platform::DeviceFileSystem::Current().Stamp(path_) != fileStamp_;
}

bool CWinBlogStorage::FileRemoved() const {
  return fileStamp_.exists && !platform::DeviceFileSystem::Current().Stamp(path_).exists;
}

bool CWinBlogStorage::ReloadIfChanged() {
  if (!FileChanged()) return false;
  photosToDelete_.clear();
  tidyPhotoFolder_ = false;
  Load();
  return true;
}

}  // namespace model
