#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/CObject.h"

namespace net {
class Stream;
class Win32LargeStream;
}  // namespace net

namespace model {

// One photo post of a blog, as the service client and the database see it.
class BlogEntry : public CObject {
 public:
  virtual uint32_t GetCategoryId() const = 0;
  virtual bool IsModified() const = 0;
  virtual uint32_t GetId() const = 0;
  virtual uint32_t GetAuthorId() const = 0;
  virtual const std::string& GetTitle() const = 0;
  virtual const std::string& GetCaption() const = 0;
  virtual const std::string& GetAuthorName() const = 0;
  virtual const std::string& GetThumbnailUrl() const = 0;
  virtual const std::string& GetPhotoUrl() const = 0;
  virtual const std::string& GetFullSizeUrl() const = 0;
  virtual uint32_t GetDate() const = 0;
  virtual uint32_t GetDate2() const = 0;
  virtual uint32_t GetPhotoBytes() const = 0;
  virtual void GetPhotoDimensions(uint16_t& width, uint16_t& height) const = 0;
  // A read stream on the photo file, or null when it cannot be opened.
  virtual std::unique_ptr<net::Stream> OpenPhoto() const = 0;
  virtual const std::string& GetPhotoPath() const = 0;
  virtual uint8_t GetPhotoSize() const = 0;
  virtual uint8_t GetUploadSize() const = 0;
  virtual bool IsRemoved() const = 0;
  virtual bool IsNew() const = 0;
  virtual bool HasNewComments() const = 0;
  virtual void SetCategoryId(uint32_t id) = 0;
  virtual void SetModified(bool modified) = 0;
  virtual void SetId(uint32_t id) = 0;
  virtual void SetAuthorId(uint32_t id) = 0;
  virtual void SetTitle(std::string_view text) = 0;
  virtual void SetCaption(std::string_view text) = 0;
  virtual void SetAuthorName(std::string_view text) = 0;
  virtual void SetThumbnailUrl(std::string_view text) = 0;
  virtual void SetPhotoUrl(std::string_view text) = 0;
  virtual void SetFullSizeUrl(std::string_view text) = 0;
  virtual void SetDate(uint32_t date) = 0;
  virtual void SetDate2(uint32_t date) = 0;
  virtual void SetPhotoBytes(uint32_t bytes) = 0;
  virtual void SetPhotoDimensions(uint16_t width, uint16_t height) = 0;
  virtual void SetPhotoSize(uint8_t code) = 0;
  virtual void SetUploadSize(uint8_t code) = 0;
  // Takes the photo of a read stream on a photo file: path, thumbnail, pixel size
  // and byte size. A null source leaves the thumbnail as it was. Answers 0, or
  // 10200 for a file that is not a JPEG photo, which leaves the entry as it was.
  virtual uint32_t AttachPhoto(net::Win32LargeStream* source, uint8_t sizeCode) = 0;
  // Whether the photo file opens and is a JPEG photo as far as its headers tell.
  virtual bool HasJpegPhoto() const = 0;
  // Deletes the photo file but keeps path, size code and thumbnail; with
  // onlyIfPublished nothing happens to an entry without id.
  virtual void DeletePhotoFile(bool onlyIfPublished) = 0;
  // Answer whether the flag changed.
  virtual bool SetNew(bool isNew) = 0;
  virtual bool SetNewComments(bool hasNew) = 0;
  virtual bool HasId() const = 0;
  virtual bool CategoryHasServiceId() const = 0;
  // Removed from the device only: size code 255, no thumbnail.
  virtual void MarkRemoved() = 0;
};

}  // namespace model
