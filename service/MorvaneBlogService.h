#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "net/Http.h"
#include "net/HttpRequest.h"
#include "service/RemoteBlogService.h"
#include "service/ServiceSettings.h"

namespace model {
class BlogAlbum;
class BlogUser;
class LocalBlogStorage;
}  // namespace model

namespace service {

// The client of the photo-blog web service: one SOAP request per operation, the
// answers read into the blog database and the account it is handed.
class MorvaneBlogService : public RemoteBlogService {
 public:
  static constexpr size_t kServerMessageLimit = 99;
  static constexpr size_t kAlternates = 4;

  explicit MorvaneBlogService(net::Http& http, const ServiceSettings& settings = ServiceSettings::Current());

  // RemoteBlogService.
  bool CheckAnswerError(net::Stream& answer, uint32_t& code) override;
  std::string GetBlogPageUrl() override;
  std::string GetBlogAllCategoriesUrl() override;
  std::string GetEntryPreviewUrl(uint32_t entryId) override;
  void SetAccount(std::string_view userName, std::string_view password, uint32_t userId,
                  std::string_view blogName, std::string_view viewPassword) override;
  void SetPhotoSizes(uint16_t uploadSize, uint16_t downloadSize) override;
  uint32_t SetSyncTimestamp(uint32_t timeValue) override;
  uint32_t GetSyncTimestamp() const override { return newTimestamp_; }
  uint32_t CheckAccount(net::ProgressCallback callback, void* context) override;
  uint32_t StoreEntry(model::BlogEntry& entry, net::ProgressCallback callback, void* context,
                      uint16_t blogType, uint16_t number, uint16_t total) override;
  uint32_t StoreComment(model::BlogComment& comment, net::ProgressCallback callback,
                        void* context) override;
  uint32_t SendPhotoEmail(uint32_t categoryId, uint32_t entryId, std::string_view recipients,
                          std::string_view message, net::ProgressCallback callback, void* context) override;
  uint32_t PostToRemoteBlog(uint32_t categoryId, uint32_t entryId, std::string_view remoteBlog,
                            std::string_view title, std::string_view caption, net::ProgressCallback callback,
                            void* context) override;
  uint32_t DownloadEntryPhoto(model::BlogEntry& entry, uint8_t sizeCode, net::ProgressCallback callback,
                              void* context) override;
  uint32_t Fetch(std::string_view host, std::string_view path,
                 std::unique_ptr<net::HttpResponse>& response) override;

  // What the caller hands over for the length of an operation.
  void SetStorage(model::LocalBlogStorage* storage) { storage_ = storage; }
  void SetUser(model::BlogUser* user) { user_ = user; }
  void SetCallback(net::ProgressCallback callback, void* context) {
    callback_ = callback;
    context_ = context;
  }

  // The steps of a sync; they use the callback set last.
  uint32_t StoreBlogInfo();
  uint32_t StoreCategory(model::BlogAlbum& category);
  uint32_t DeleteCategory(model::BlogAlbum& category);
  uint32_t DeleteEntry(model::BlogEntry& entry);
  uint32_t DeleteComment(model::BlogComment& comment);
  // Sends "GC" and hands back the answer; a server error is reported (10201), an
  // invalid timestamp also sets the new timestamp to 0. 8022 and 8023 come back
  // unreported so that the caller can ask for the view password.
  uint32_t RequestChanges(std::unique_ptr<net::HttpResponse>& response);
  // Applies a "GC" answer to the storage; a full download when the request
  // timestamp is 0. The answer's timestamp becomes the new timestamp.
  uint32_t ApplyChanges(net::Stream& answer);
  // Steps 1 to 3 of a photo download: fetch at the size and attach the photo.
  uint32_t FetchEntryPhoto(model::BlogEntry& entry, uint8_t sizeCode);
  // Reports a stage (and detail text, number, total) to the callback.
  void ReportStage(uint32_t stage, const std::string* text = nullptr, uint16_t number = 0,
                   uint16_t total = 0);

  // The service side of a blog's sync: deletions, the change list and its photo
  // downloads, blog settings, categories, pending entries, comments.
  uint32_t Synchronize(net::ProgressCallback callback, void* context);
  // "GC" (asking for the view password when the blog wants one), the change list
  // applied, the blog trimmed to its limit, and the photos it asks for downloaded.
  uint32_t GetChanges();
  // The version and notes file, once a day unless explicit; true when the file was
  // read by an explicit check or the user chose to download a newer version.
  bool CheckVersion(bool explicitCheck, bool& newerExists, net::ProgressCallback callback,
                    void* context);
  // The channels file's channel lines, at most size - 1 bytes; `channels` is left
  // alone on failure.
  uint32_t GetChannels(std::string& channels, size_t size, net::ProgressCallback callback,
                       void* context);

  // Account and blog creation: 0, or -10300 (message shown), -10301 (e-mail in
  // use), -10302 (blog name in use; up to four suggestions), or a transport code.
  uint32_t CreateAccount(std::string_view email, std::string_view password, std::string_view firstName,
                         std::string_view lastName, net::ProgressCallback callback, void* context);
  uint32_t CreateBlog(std::string_view urlName, std::string_view title, std::string_view subtitle,
                      bool isPublic, std::array<std::string, kAlternates>& alternates,
                      net::ProgressCallback callback, void* context);

  const std::string& GetViewPassword() const { return viewPassword_; }
  void SetViewPassword(std::string_view password) { viewPassword_ = password; }
  uint32_t GetRequestTimestamp() const { return requestTimestamp_; }
  void SetNewTimestamp(uint32_t timeValue) { newTimestamp_ = timeValue; }
  uint16_t GetDownloadSize() const { return downloadSize_; }
  uint16_t GetUploadSize() const { return uploadSize_; }
  const std::string& LastServerMessage() const { return serverMessage_; }
  // A pending entry that StoreEntry left pending with 10200 (its file is not a
  // JPEG photo) or 11001 (the service refused it): its photo's file name and why.
  std::string UnsentPhotoItem(const model::BlogEntry& entry, uint32_t code) const;
  // The one message that names the pending entries a sync left behind.
  void ReportUnsentPhotos(const std::vector<std::string>& items);
  net::Http& GetHttp() { return http_; }

 private:
  // A SOAP request for an operation, its envelope begun (with authentication
  // unless told otherwise); null when memory is short.
  std::unique_ptr<net::Stream> BeginBody(std::string_view operation, bool temporaryFile);
  bool WriteAuthentication(net::Stream& body, bool withBlog);
  // Sends a finished body. `answerError` tells that the code came from the answer.
  uint32_t Exchange(std::string_view operation, std::unique_ptr<net::Stream> body, bool parse,
                    std::unique_ptr<net::HttpResponse>& response, bool& answerError);
  // The exchange with the reporting pattern: a server error is shown once and
  // becomes 10201.
  uint32_t Call(std::string_view operation, std::unique_ptr<net::Stream> body,
                std::unique_ptr<net::HttpResponse>* response = nullptr);
  // Shows the message of a code, or the server's own text when it has none.
  uint32_t ReportError(uint32_t code);
  // After a refusal for lack of permission: the next sync is a full download.
  void ForgetTimestamps();
  // Sends one deletion ("DC", "DP", "DCO"). A refusal for lack of permission is shown
  // and answers 0, so the local object is dropped and not retried; an object the
  // service no longer has (`goneCodes`: a deletion whose answer was lost) counts
  // as deleted and answers 0 quietly; any other failure answers its code.
  uint32_t SendDeletion(std::string_view operation, std::string_view listTag, std::string_view idTag,
                        uint32_t id, bool readOnly, uint32_t noEditCode, uint32_t noDeleteCode,
                        std::initializer_list<uint32_t> goneCodes);
  // The outcome of CreateAccount and CreateBlog from their answer.
  uint32_t CreationOutcome(net::HttpResponse& response, std::string_view usedText,
                           uint32_t usedCode, std::array<std::string, kAlternates>* alternates);
  uint32_t SendSubscriptions();
  bool IsGroupBlogOfOther() const;

  net::Http& http_;
  const ServiceSettings& settings_;
  model::LocalBlogStorage* storage_ = nullptr;
  model::BlogUser* user_ = nullptr;
  std::string soapAction_;
  std::string serverMessage_;
  std::string userName_;
  std::string password_;
  std::string blogName_;
  std::string viewPassword_;
  uint32_t userId_ = 0;
  uint32_t requestTimestamp_ = 0;
  uint32_t newTimestamp_ = 0;
  uint16_t downloadSize_ = 0;
  uint16_t uploadSize_ = 0;
  net::ProgressCallback callback_ = nullptr;
  void* context_ = nullptr;
};

}  // namespace service
