#include <utility>
#include <vector>

#include "image/ImageInformation.h"
#include "model/CWinBlogStorage.h"
#include "model/NoCase.h"
#include "model/ProgressReporter.h"
#include "model/UserInterface.h"
#include "net/Win32LargeStream.h"
#include "platform/DeviceFacts.h"
#include "platform/DeviceFileSystem.h"
#include "platform/ErrorCodes.h"
#include "platform/Registry.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/TextConversion.h"

namespace model {

namespace {

constexpr const char* kLegacyCameraKey = "SOFTWARE\\HTC\\Camera";
constexpr const char* kLegacyPhotosFolder = "\\My Documents\\My Photos";

// Older phones keep camera photos where the vendor's camera application put them.
bool LegacyCameraCondition(platform::DeviceFileSystem& fs) {
  if (platform::DeviceFacts::Current().osMajorVersion >= 5) return false;
  platform::RegistryHandle key = nullptr;
  if (platform::RegOpenKey(platform::Hive::LocalMachine, kLegacyCameraKey, key) != 0) return false;
  uint32_t type = 0;
  uint32_t length = 0;
  std::string path;
  if (platform::RegQueryValue(key, "Path", type, nullptr, length) == 0 &&
      type == platform::kRegString && length >= 2) {
    std::u16string wide(length / 2, u'\0');
    if (platform::RegQueryValue(key, "Path", type, wide.data(), length) == 0) {
      wide.resize(length / 2);
      while (!wide.empty() && wide.back() == u'\0') wide.pop_back();
      path = platform::Utf16ToUtf8(wide);
    }
  }
  platform::RegCloseKey(key);
  return !path.empty() && fs.Exists(path);
}

// Makes `folder` exist; an existing one is fine.
uint32_t EnsureFolder(platform::DeviceFileSystem& fs, const std::string& folder) {
  return fs.IsDirectory(folder) ? 0 : fs.CreateFolders(folder);
}

}  // namespace

std::vector<std::string> CWinBlogStorage::StorageCards() {
  std::vector<platform::FileInfo> items;
  std::vector<std::string> cards;
  if (platform::DeviceFileSystem::Current().Enumerate("\\", items) != 0) return cards;
  for (const platform::FileInfo& item : items) {
    if (item.isDirectory && item.isTemporary) cards.push_back(platform::JoinPhonePath("\\", item.name));
  }
  return cards;
}

std::string CWinBlogStorage::FindStorageCard() {
  std::vector<std::string> cards = StorageCards();
  return cards.empty() ? std::string() : std::move(cards.front());
}

uint32_t CWinBlogStorage::ComputePhotoFolder() {
  platform::DeviceFileSystem& fs = platform::DeviceFileSystem::Current();
  if (!IsValidBlogName(blogInfo_.urlName)) return platform::kErrInvalidName;
  const bool legacy = LegacyCameraCondition(fs);
  const std::string card = FindStorageCard();
  std::string base;
  if (!card.empty()) {
    base = card + (legacy ? kLegacyPhotosFolder : "\\DCIM");
  } else {
    base = legacy ? kLegacyPhotosFolder : platform::DeviceFileSystem::MyPictures();
  }
  uint32_t rc = EnsureFolder(fs, base);
  if (rc != 0) return rc;
  std::string folder = platform::JoinPhonePath(base, blogInfo_.urlName);
  if ((rc = EnsureFolder(fs, folder)) != 0) return rc;
  photoFolder_ = folder;
  return 0;
}

uint32_t CWinBlogStorage::PhotoFolderOn(std::string_view locationRoot, std::string& out) {
  platform::DeviceFileSystem& fs = platform::DeviceFileSystem::Current();
  if (!IsValidBlogName(blogInfo_.urlName)) return platform::kErrInvalidName;
  std::string base = locationRoot == "\\" ? platform::DeviceFileSystem::MyPictures()
                                          : platform::JoinPhonePath(locationRoot, "DCIM");
  uint32_t rc = EnsureFolder(fs, base);
  if (rc != 0) return rc;
  std::string folder = platform::JoinPhonePath(base, blogInfo_.urlName);
  if ((rc = EnsureFolder(fs, folder)) != 0) return rc;
  out = folder;
  return 0;
}

uint32_t CWinBlogStorage::WriteDownloadedFile(std::string_view fileName,
                                              std::unique_ptr<net::Stream>& stream) {
  if (!platform::IsPlainFileName(fileName) || fileName.find("..") != std::string_view::npos) {
    return platform::kErrInvalidName;
  }
  if (!stream) return platform::kErrInvalidParameter;
  if (photoFolder_.empty()) {
    if (uint32_t rc = ComputePhotoFolder(); rc != 0) return rc;
  }
  platform::DeviceFileSystem& fs = platform::DeviceFileSystem::Current();
  const std::string path = platform::JoinPhonePath(photoFolder_, fileName);
  // The bytes go to a file of their own first: a photo already at `path` is
  // replaced only by a whole new one.
  std::string temp;
  uint32_t rc = fs.MakeTempFileName(photoFolder_, "~dl", temp);
  if (rc != 0) return rc;
  std::unique_ptr<platform::File> file;
  rc = fs.OpenFile(temp, platform::OpenMode::ReadWrite, file);
  if (rc == 0) {
    stream->Seek(0);
    const uint8_t* data = nullptr;
    uint32_t length = 0;
    while (stream->ReadBlock(data, length)) {
      if ((rc = file->Write(data, length)) != 0) break;
    }
  }
  if (rc == 0) rc = file->Sync();
  if (rc == 0) rc = file->Close();
  file.reset();
  if (rc == 0) rc = fs.ReplaceFile(temp, path);
  if (rc != 0) {
    fs.DeleteFile(temp);
    return rc;
  }
  if ((rc = fs.OpenFile(path, platform::OpenMode::Read, file)) != 0) return rc;
  std::unique_ptr<net::Win32LargeStream> reader =
      net::Win32LargeStream::CreateOverFile(std::move(file));
  if (!reader) return platform::kErrNotEnoughMemory;
  stream = std::move(reader);
  return 0;
}

uint32_t CWinBlogStorage::NewLocalEntry(CWinBlogEntry& entry, std::string_view photoPath) {
  platform::DeviceFileSystem& fs = platform::DeviceFileSystem::Current();
  std::unique_ptr<platform::File> file;
  if (fs.OpenFile(photoPath, platform::OpenMode::Read, file) == 0 && !image::IsJpegPhoto(*file)) {
    UserInterface::Current().ShowMessage(platform::FormatText(platform::strings::kNotJpeg, {platform::PhoneFileName(photoPath)}),
                                         MessageIcon::Exclamation);
    return kResultNotJpeg;
  }
  entry.SetCategoryId(categoryFilter_ == kAllCategories ? kUnfiledCategoryId : categoryFilter_);
  platform::FileInfo info;
  uint32_t date = fs.GetInfo(photoPath, info) == 0 ? info.lastWriteTime : 0;
  entry.SetDate(date);
  entry.SetDate2(date);
  std::unique_ptr<net::Win32LargeStream> source;
  if (file) source = net::Win32LargeStream::CreateOverFile(std::move(file));
  if (source) {
    entry.AttachPhoto(source.get(), kSizeFull);
  } else {
    entry.SetPhotoSize(kSizeFull);
    entry.photoPath = photoPath;
  }
  return 0;
}

void CWinBlogStorage::DeletePhotoAtSave(CWinBlogEntry& entry) {
  if (entry.photoPath.empty()) return;
  photosToDelete_.push_back(QueuedPhoto{entry.photoPath, &entry});
  entry.photoPath.clear();
}

void CWinBlogStorage::DeleteReplacedPhotoAtSave(const BlogEntry& entry, std::string_view oldPath) {
  if (oldPath.empty() || EqualsNoCase(oldPath, entry.GetPhotoPath())) return;
  photosToDelete_.push_back(QueuedPhoto{std::string(oldPath), &entry});
}

uint32_t CWinBlogStorage::DeleteQueuedPhotos() {
  bool restored = false;
  return DeleteQueuedPhotos(restored);
}

uint32_t CWinBlogStorage::DeleteQueuedPhotos(bool& restored) {
  restored = false;
  uint32_t result = 0;
  platform::DeviceFileSystem& fs = platform::DeviceFileSystem::Current();
  std::vector<QueuedPhoto> queued;
  queued.swap(photosToDelete_);
  for (const QueuedPhoto& photo : queued) {
    const uint32_t rc = fs.DeleteFile(photo.path);
    if (rc == 0 || rc == platform::kErrFileNotFound || rc == platform::kErrPathNotFound) continue;
    if (result == 0) result = rc;
    for (const CObjectArray<CWinBlogEntry>* list : {&entries_, &deletedEntries_}) {
      for (const auto& entry : *list) {
        if (entry.get() == photo.entry && entry->photoPath.empty()) {
          entry->photoPath = photo.path;
          restored = true;
        }
      }
    }
  }
  if (std::exchange(tidyPhotoFolder_, false) && ComputePhotoFolder() == 0) RemoveFolderIfEmpty(photoFolder_);
  return result;
}

void CWinBlogStorage::PurgeShownPhotos() {
  // A pending entry keeps its photo: it is still to be sent, and it may be the
  // only copy.
  for (const auto& entry : entries_) {
    if (IsShown(*entry) && entry->HasId()) DeletePhotoAtSave(*entry);
  }
  tidyPhotoFolder_ = true;
}

void CWinBlogStorage::PurgeAllPhotos() {
  for (const auto& entry : entries_) DeletePhotoAtSave(*entry);
  tidyPhotoFolder_ = true;
}

uint32_t CWinBlogStorage::RemoveFolderIfEmpty(std::string_view folder) {
  platform::DeviceFileSystem& fs = platform::DeviceFileSystem::Current();
  std::vector<platform::FileInfo> items;
  uint32_t rc = fs.Enumerate(folder, items);
  if (rc != 0) return rc;
  for (const platform::FileInfo& item : items) {
    if (!item.isDirectory) return 0;
  }
  return fs.RemoveFolder(folder);
}

bool CWinBlogStorage::NamesPhoto(std::string_view path, const CWinBlogEntry* except) const {
  for (const CObjectArray<CWinBlogEntry>* list : {&entries_, &deletedEntries_}) {
    for (const auto& entry : *list) {
      if (entry.get() != except && EqualsNoCase(entry->photoPath, path)) return true;
    }
  }
  return false;
}

std::string CWinBlogStorage::MoveTarget(std::string_view folder, std::string_view name,
                                        const CWinBlogEntry& entry) const {
  std::string target = platform::JoinPhonePath(folder, name);
  // Another entry's photo of the same name is never replaced: the copy takes a
  // free name beside it.
  const size_t dot = name.rfind('.');
  const std::string_view stem = dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
  const std::string_view extension = name.substr(stem.size());
  for (int n = 2; NamesPhoto(target, &entry) && n < 10000; ++n) {
    target = platform::JoinPhonePath(folder, std::string(stem) + "-" + std::to_string(n) + std::string(extension));
  }
  return target;
}

uint32_t CWinBlogStorage::MovePhotos(ProgressReporter* progress, std::string_view sourceRoot,
                                     std::string_view destinationRoot) {
  platform::DeviceFileSystem& fs = platform::DeviceFileSystem::Current();
  const bool fromMainMemory = sourceRoot == "\\";
  std::vector<CWinBlogEntry*> shown;
  for (const auto& entry : entries_) {
    if (IsShown(*entry)) shown.push_back(entry.get());
  }
  uint32_t rc = 0;
  for (CWinBlogEntry* entry : shown) {
    if (progress != nullptr) {
      if (progress->IsCancelled()) {
        rc = platform::kErrCancelled;
        break;
      }
      progress->Pump();
    }
    if (entry->photoPath.empty()) continue;
    bool belongs = fromMainMemory ? entry->IsPhotoInMainMemory() : entry->IsPhotoUnder(sourceRoot);
    if (!belongs) continue;
    const std::string name(platform::PhoneFileName(entry->photoPath));
    if (progress != nullptr) progress->SetText(name);
    std::string folder;
    if ((rc = PhotoFolderOn(destinationRoot, folder)) != 0) break;
    // Already in place: replacing the target would delete the photo itself.
    if (EqualsNoCase(platform::JoinPhonePath(folder, name), entry->photoPath)) continue;
    if (!fs.Exists(entry->photoPath)) continue;
    const std::string newPath = MoveTarget(folder, name, *entry);
    // Cards are other file systems: the photo is copied whole and checked, and
    // the original goes only once the saved database names the copy, so that
    // the database names files that exist whenever the move stops.
    if ((rc = fs.CopyFileVerified(entry->photoPath, newPath)) != 0) break;
    DeleteReplacedPhotoAtSave(*entry, std::exchange(entry->photoPath, newPath));
  }
  const uint32_t saved = Save();
  std::string sourceFolder;
  if (PhotoFolderOn(sourceRoot, sourceFolder) == 0) RemoveFolderIfEmpty(sourceFolder);
  return rc != 0 ? rc : saved;
}

bool CWinBlogStorage::HasPhoto(std::u16string_view path) const {
  const std::string wanted = platform::Utf16ToUtf8(path);
  for (const auto& entry : entries_) {
    if (!entry->IsRemoved() && EqualsNoCase(entry->photoPath, wanted)) return true;
  }
  return false;
}

}  // namespace model
