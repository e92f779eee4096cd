#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "net/HttpResponse.h"
#include "net/ProgressRecord.h"
#include "net/Stream.h"

namespace model {
class BlogComment;
class BlogEntry;
}  // namespace model

namespace service {

// The photo-blog web service as the program sees it. Every operation answers a
// result code: 0, a transport code, a service code, or 10201 once a failure has
// been shown to the user.
class RemoteBlogService {
 public:
  virtual ~RemoteBlogService() = default;

  // Looks for a server message in an answer; when there is one, `code` becomes its
  // code and the answer is true. A non-zero `code` is left alone (false).
  virtual bool CheckAnswerError(net::Stream& answer, uint32_t& code) = 0;
  virtual std::string GetBlogPageUrl() = 0;
  virtual std::string GetBlogAllCategoriesUrl() = 0;
  virtual std::string GetEntryPreviewUrl(uint32_t entryId) = 0;
  virtual void SetAccount(std::string_view userName, std::string_view password, uint32_t userId,
                          std::string_view blogName, std::string_view viewPassword) = 0;
  virtual void SetPhotoSizes(uint16_t uploadSize, uint16_t downloadSize) = 0;
  // Sets the request and the new timestamp; answers the current time.
  virtual uint32_t SetSyncTimestamp(uint32_t timeValue) = 0;
  virtual uint32_t GetSyncTimestamp() const = 0;
  virtual uint32_t CheckAccount(net::ProgressCallback callback, void* context) = 0;
  virtual uint32_t StoreEntry(model::BlogEntry& entry, net::ProgressCallback callback, void* context,
                              uint16_t blogType, uint16_t number, uint16_t total) = 0;
  virtual uint32_t StoreComment(model::BlogComment& comment, net::ProgressCallback callback,
                                void* context) = 0;
  virtual uint32_t SendPhotoEmail(uint32_t categoryId, uint32_t entryId, std::string_view recipients,
                                  std::string_view message, net::ProgressCallback callback,
                                  void* context) = 0;
  virtual uint32_t PostToRemoteBlog(uint32_t categoryId, uint32_t entryId, std::string_view remoteBlog,
                                    std::string_view title, std::string_view caption,
                                    net::ProgressCallback callback, void* context) = 0;
  virtual uint32_t DownloadEntryPhoto(model::BlogEntry& entry, uint8_t sizeCode,
                                      net::ProgressCallback callback, void* context) = 0;
  // A GET of `path` on `host` ("name" or "name:port"); the answer is not examined.
  virtual uint32_t Fetch(std::string_view host, std::string_view path,
                         std::unique_ptr<net::HttpResponse>& response) = 0;
};

}  // namespace service
