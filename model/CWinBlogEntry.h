#pragma once

#include <vector>

#include "model/BlogEntry.h"

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
  const std::string& GetTitle() const override { return title_; }
  const std::string& GetCaption() const override { return caption_; }
  const std::string& GetAuthorName() const override { return authorName_; }
  const std::string& GetThumbnailUrl() const override { return thumbnailUrl_; }
  const std::string& GetPhotoUrl() const override { return photoUrl_; }
  const std::string& GetFullSizeUrl() const override { return fullSizeUrl_; }
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
  void SetCategoryId(uint32_t id) override { categoryId_ = id; }
  void SetModified(bool modified) override { modified_ = modified; }
  void SetId(uint32_t id) override { id_ = id; }
  void SetAuthorId(uint32_t id) override { authorId_ = id; }
  void SetTitle(std::string_view text) override { title_ = text; }
  void SetCaption(std::string_view text) override { caption_ = text; }
  void SetAuthorName(std::string_view text) override { authorName_ = text; }
  void SetThumbnailUrl(std::string_view text) override { thumbnailUrl_ = text; }
  void SetPhotoUrl(std::string_view text) override { photoUrl_ = text; }
  void SetFullSizeUrl(std::string_view text) override { fullSizeUrl_ = text; }
  void SetDate(uint32_t date) override { date_ = date; }
  void SetDate2(uint32_t date) override { date2_ = date; }
  void SetPhotoBytes(uint32_t bytes) override { photoBytes_ = bytes; }
  void SetPhotoDimensions(uint16_t width, uint16_t height) override;
  void SetPhotoSize(uint8_t code) override { photoSize_ = code; }
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

  const std::vector<uint8_t>& GetThumbnail() const { return thumbnail_; }
  void SetThumbnail(std::vector<uint8_t> jpeg) { thumbnail_ = std::move(jpeg); }
  uint8_t GetFlags() const { return flags_; }

  // Set directly by the database and the photo operations.
  bool unconfirmed = false;
  std::string photoPath;

 private:
  uint32_t id_ = 0;
  uint32_t categoryId_ = 0;
  uint32_t authorId_ = 0;
  std::string title_;
  std::string caption_;
  std::string authorName_;
  std::string thumbnailUrl_;
  std::string photoUrl_;
  std::string fullSizeUrl_;
  uint32_t date_ = 0;
  uint32_t date2_ = 0;
  uint32_t photoBytes_ = 0;
  uint16_t photoWidth_ = 0;
  uint16_t photoHeight_ = 0;
  uint8_t photoSize_ = 0;
  uint8_t uploadSize_ = 0;
  uint8_t flags_ = 0;
  bool modified_ = true;
  std::vector<uint8_t> thumbnail_;
};

}  // namespace model
