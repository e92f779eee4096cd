#include "model/CWinBlogEntry.h"

#include <new>

#include "image/EntryThumbnail.h"
#include "image/ImageInformation.h"
#include "model/Archive.h"
#include "model/ModelConstants.h"
#include "model/NoCase.h"
#include "net/Win32LargeStream.h"
#include "platform/DeviceFileSystem.h"
#include "platform/ErrorCodes.h"
#include "platform/TextConversion.h"

namespace model {

const RuntimeClass CWinBlogEntry::kClass{"CWinBlogEntry", 0, &CWinBlogEntry::Create};

std::unique_ptr<CObject> CWinBlogEntry::Create() { return std::make_unique<CWinBlogEntry>(); }

void CWinBlogEntry::CopyFrom(const CWinBlogEntry& other) { *this = other; }

void CWinBlogEntry::Serialize(Archive& ar) {
  if (ar.IsStoring()) {
    ar.WriteU32(id_);
    ar.WriteU32(categoryId_);
    ar.WriteU32(authorId_);
    ar.WriteString(title_);
    ar.WriteString(caption_);
    ar.WriteString(authorName_);
    ar.WriteString(thumbnailUrl_);
    ar.WriteString(photoUrl_);
    ar.WriteString(fullSizeUrl_);
    ar.WriteU32(date_);
    ar.WriteU32(date2_);
    ar.WriteU32(photoBytes_);
    ar.WriteU16(photoWidth_);
    ar.WriteU16(photoHeight_);
    ar.WriteU8(photoSize_);
    ar.WriteU8(uploadSize_);
    ar.WriteU8(flags_);
    ar.WriteString(photoPath);
    ar.WriteBool(modified_);
    ar.WriteBool(unconfirmed);
    ar.WriteU32(static_cast<uint32_t>(thumbnail_.size()));
    ar.WriteBytes(thumbnail_.data(), thumbnail_.size());
    return;
  }
  uint32_t thumbnailLength = 0;
  if (!(ar.ReadU32(id_) && ar.ReadU32(categoryId_) && ar.ReadU32(authorId_) &&
        ar.ReadString(title_) && ar.ReadString(caption_) && ar.ReadString(authorName_) &&
        ar.ReadString(thumbnailUrl_) && ar.ReadString(photoUrl_) && ar.ReadString(fullSizeUrl_) &&
        ar.ReadU32(date_) && ar.ReadU32(date2_) && ar.ReadU32(photoBytes_) &&
        ar.ReadU16(photoWidth_) && ar.ReadU16(photoHeight_) && ar.ReadU8(photoSize_) &&
        ar.ReadU8(uploadSize_) && ar.ReadU8(flags_) && ar.ReadString(photoPath) &&
        ar.ReadBool(modified_) && ar.ReadBool(unconfirmed) && ar.ReadU32(thumbnailLength))) {
    return;
  }
  ar.ReadBytes(thumbnail_, thumbnailLength);
}

void CWinBlogEntry::GetPhotoDimensions(uint16_t& width, uint16_t& height) const {
  width = photoWidth_;
  height = photoHeight_;
}

void CWinBlogEntry::SetPhotoDimensions(uint16_t width, uint16_t height) {
  photoWidth_ = width;
  photoHeight_ = height;
}

std::unique_ptr<net::Stream> CWinBlogEntry::OpenPhoto() const {
  if (photoPath.empty()) return nullptr;
  std::unique_ptr<platform::File> file;
  if (platform::DeviceFileSystem::Current().OpenFile(photoPath, platform::OpenMode::Read, file) !=
      0) {
    return nullptr;
  }
  return net::Win32LargeStream::CreateOverFile(std::move(file));
}

bool CWinBlogEntry::IsRemoved() const { return photoSize_ == kSizeRemoved; }
bool CWinBlogEntry::IsNew() const { return (flags_ & kFlagNewEntry) != 0; }
bool CWinBlogEntry::HasNewComments() const { return (flags_ & kFlagNewComments) != 0; }

uint32_t CWinBlogEntry::AttachPhoto(net::Win32LargeStream* source, uint8_t sizeCode) {
  platform::DeviceFileSystem& fs = platform::DeviceFileSystem::Current();
  std::unique_ptr<platform::File> file;
  if (source != nullptr && fs.OpenFile(source->Path(), platform::OpenMode::Read, file) == 0 &&
      !image::IsJpegPhoto(*file)) {
    return kResultNotJpeg;
  }
  photoSize_ = sizeCode;
  if (sizeCode < kSize176x132) {
    photoPath.clear();
  } else if (source != nullptr) {
    photoPath = source->Path();
  }
  if (source == nullptr) return 0;

  if (file) {
    std::vector<uint8_t> jpeg;
    try {
      file->Seek(0);
      image::MakeEntryThumbnail(*file, jpeg);
    } catch (const std::bad_alloc&) {
      jpeg.clear();
    }
    thumbnail_ = std::move(jpeg);
    if (photoWidth_ == 0 || photoHeight_ == 0) {
      image::ImageInformation info;
      file->Seek(0);
      image::ReadImageInformation(*file, info);
      photoWidth_ = static_cast<uint16_t>(info.width);
      photoHeight_ = static_cast<uint16_t>(info.height);
    }
  }
  if (photoBytes_ == 0) {
    platform::FileInfo info;
    photoBytes_ = (!photoPath.empty() && fs.GetInfo(photoPath, info) == 0)
                      ? static_cast<uint32_t>(info.size)
                      : 0;
  }
  return 0;
}

bool CWinBlogEntry::HasJpegPhoto() const {
  std::unique_ptr<platform::File> file;
  return !photoPath.empty() &&
         platform::DeviceFileSystem::Current().OpenFile(photoPath, platform::OpenMode::Read, file) == 0 &&
         image::IsJpegPhoto(*file);
}

void CWinBlogEntry::DeletePhotoFile(bool onlyIfPublished) {
  if (onlyIfPublished && id_ == 0) return;
  platform::DeviceFileSystem& fs = platform::DeviceFileSystem::Current();
  if (!photoPath.empty() && fs.Exists(photoPath)) fs.DeleteFile(photoPath);
}

bool CWinBlogEntry::SetNew(bool isNew) {
  uint8_t flags = isNew ? (flags_ | kFlagNewEntry) : (flags_ & ~kFlagNewEntry);
  bool changed = flags != flags_;
  flags_ = flags;
  return changed;
}

bool CWinBlogEntry::SetNewComments(bool hasNew) {
  uint8_t flags = hasNew ? (flags_ | kFlagNewComments) : (flags_ & ~kFlagNewComments);
  bool changed = flags != flags_;
  flags_ = flags;
  return changed;
}

bool CWinBlogEntry::CategoryHasServiceId() const { return categoryId_ < kFirstLocalCategoryId; }

void CWinBlogEntry::MarkRemoved() {
  photoSize_ = kSizeRemoved;
  thumbnail_.clear();
  thumbnail_.shrink_to_fit();
}

std::u16string CWinBlogEntry::GetTitleW() const { return platform::Utf8ToUtf16(title_); }
void CWinBlogEntry::SetTitleW(std::u16string_view text) { title_ = platform::Utf16ToUtf8(text); }
std::u16string CWinBlogEntry::GetCaptionW() const { return platform::Utf8ToUtf16(caption_); }
void CWinBlogEntry::SetCaptionW(std::u16string_view text) {
  caption_ = platform::Utf16ToUtf8(text);
}
std::u16string CWinBlogEntry::GetAuthorNameW() const {
  return platform::Utf8ToUtf16(authorName_);
}
void CWinBlogEntry::SetAuthorNameW(std::u16string_view text) {
  authorName_ = platform::Utf16ToUtf8(text);
}

uint32_t CWinBlogEntry::DeletePhoto() {
  if (photoPath.empty()) return 0;
  uint32_t rc = platform::DeviceFileSystem::Current().DeleteFile(photoPath);
  if (rc != 0 && rc != platform::kErrFileNotFound && rc != platform::kErrPathNotFound) return rc;
  photoPath.clear();
  return 0;
}

bool CWinBlogEntry::IsPhotoUnder(std::string_view folder) const {
  return IsPathUnder(photoPath, folder);
}

bool CWinBlogEntry::IsPhotoInMainMemory() const {
  return IsPathUnder(photoPath, platform::DeviceFileSystem::MyDocuments());
}

}  // namespace model
