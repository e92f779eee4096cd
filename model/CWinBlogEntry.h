#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/BlogEntry.h"
#include "model/FilePiece.h"
#include "model/ListMembership.h"

namespace model {

// An entry of the device, stored in the blog database with its JPEG thumbnail.
class CWinBlogEntry : public BlogEntry {
 public:
  static const RuntimeClass kClass;
  static std::unique_ptr<CObject> Create();

  CWinBlogEntry() = default;
  // Deep copy of every field, the thumbnail included.
  void CopyFrom(const CWinBlogEntry& other);

  const RuntimeClass* GetRuntimeClass() const override { return &kClass; }
  void Serialize(Archive& ar) override;
  uint32_t GetCategoryId() const override { return categoryId_; }
  bool IsModified() const override { return modified_; }
  uint32_t GetId() const override { return id_; }
  uint32_t GetAuthorId() const override { return authorId_; }
  const std::string& GetTitle() const override { return title_.Get(); }
  const std::string& GetCaption() const override { return caption_.Get(); }
  const std::string& GetAuthorName() const override { return authorName_.Get(); }
  const std::string& GetThumbnailUrl() const override { return thumbnailUrl_.Get(); }
  const std::string& GetPhotoUrl() const override { return photoUrl_.Get(); }
  const std::string& GetFullSizeUrl() const override { return fullSizeUrl_.Get(); }
  uint32_t GetDate() const override { return date_; }
  uint32_t GetDate2() const override { return date2_; }
  uint32_t GetPhotoBytes() const override { return photoBytes_; }
  void GetPhotoDimensions(uint16_t& width, uint16_t& height) const override;
  std::unique_ptr<net::Stream> OpenPhoto() const override;
  const std::string& GetPhotoPath() const override { return photoPath; }
  uint8_t GetPhotoSize() const override { return photoSize_; }
  uint8_t GetUploadSize() const override { return uploadSize_; }
  bool IsRemoved() const override;
  bool IsNew() const override;
  bool HasNewComments() const override;
  void SetCategoryId(uint32_t id) override;
  void SetModified(bool modified) override;
  void SetId(uint32_t id) override;
  void SetAuthorId(uint32_t id) override;
  void SetTitle(std::string_view text) override { title_.Assign(text.data(), text.size()); }
  void SetCaption(std::string_view text) override { caption_.Assign(text.data(), text.size()); }
  void SetAuthorName(std::string_view text) override { authorName_.Assign(text.data(), text.size()); }
  void SetThumbnailUrl(std::string_view text) override { thumbnailUrl_.Assign(text.data(), text.size()); }
  void SetPhotoUrl(std::string_view text) override { photoUrl_.Assign(text.data(), text.size()); }
  void SetFullSizeUrl(std::string_view text) override { fullSizeUrl_.Assign(text.data(), text.size()); }
  void SetDate(uint32_t date) override { date_ = date; }
  void SetDate2(uint32_t date) override { date2_ = date; }
  void SetPhotoBytes(uint32_t bytes) override { photoBytes_ = bytes; }
  void SetPhotoDimensions(uint16_t width, uint16_t height) override;
  void SetPhotoSize(uint8_t code) override;
  void SetUploadSize(uint8_t code) override { uploadSize_ = code; }
  uint32_t AttachPhoto(net::Win32LargeStream* source, uint8_t sizeCode) override;
  bool HasJpegPhoto() const override;
  void DeletePhotoFile(bool onlyIfPublished) override;
  bool SetNew(bool isNew) override;
  bool SetNewComments(bool hasNew) override;
  bool HasId() const override { return id_ != 0; }
  bool CategoryHasServiceId() const override;
  virtual void ClearUnconfirmed() { unconfirmed = false; }
  void MarkRemoved() override;
  virtual std::u16string GetTitleW() const;
  virtual void SetTitleW(std::u16string_view text);
  virtual std::u16string GetCaptionW() const;
  virtual void SetCaptionW(std::u16string_view text);
  virtual std::u16string GetAuthorNameW() const;
  virtual void SetAuthorNameW(std::u16string_view text);

  // Deletes the photo file and forgets its path; a failure other than a missing
  // file keeps the path and is answered.
  uint32_t DeletePhoto();
  // The photo path starts with `folder` (compared without regard to case).
  bool IsPhotoUnder(std::string_view folder) const;
  // The photo path starts with "\My Documents".
  bool IsPhotoInMainMemory() const;

  const std::vector<uint8_t>& GetThumbnail() const { return thumbnail_.Get(); }
  void SetThumbnail(std::vector<uint8_t> jpeg) { thumbnail_.Set(std::move(jpeg)); }
  uint8_t GetFlags() const { return flags_; }
  // The list that holds the entry.
  ListMembership& Membership() { return membership_; }

  // Set directly by the database and the photo operations.
  bool unconfirmed = false;
  std::string photoPath;

 private:
  uint32_t id_ = 0;
  uint32_t categoryId_ = 0;
  uint32_t authorId_ = 0;
  FilePiece<std::string> title_;
  FilePiece<std::string> caption_;
  FilePiece<std::string> authorName_;
  FilePiece<std::string> thumbnailUrl_;
  FilePiece<std::string> photoUrl_;
  FilePiece<std::string> fullSizeUrl_;
  uint32_t date_ = 0;
  uint32_t date2_ = 0;
  uint32_t photoBytes_ = 0;
  uint16_t photoWidth_ = 0;
  uint16_t photoHeight_ = 0;
  uint8_t photoSize_ = 0;
  uint8_t uploadSize_ = 0;
  uint8_t flags_ = 0;
  bool modified_ = true;
  FilePiece<std::vector<uint8_t>> thumbnail_;
  // The bytes of the file the entry was read from, which its texts and thumbnail
  // may still be pieces of (shared by the entries read from that file).
  std::shared_ptr<const uint8_t[]> file_;
  ListMembership membership_;
};

}  // namespace model
