#include "service/BlogNetwork.h"

#include "model/CWinBlogChannels.h"
#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "model/ProgressReporter.h"
#include "model/UserInterface.h"
#include "platform/ErrorCodes.h"
#include "platform/Preferences.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "service/MorvaneBlogService.h"
#include "service/ServiceClient.h"
#include "service/ServiceErrors.h"
#include "service/SyncProgress.h"
#include "service/SyncRunner.h"

namespace service {

namespace {

// The HTTP client open for the length of one wrapper.
class OpenClient {
 public:
  OpenClient() : open_(ServiceClient::Open()) {}
  ~OpenClient() {
    if (open_) ServiceClient::Close();
  }
  OpenClient(const OpenClient&) = delete;
  OpenClient& operator=(const OpenClient&) = delete;
  bool IsOpen() const { return open_; }

 private:
  bool open_;
};

// Watches the New Version Available screen for the download choice, passing the
// offer on to the front end in use.
class DownloadChoice : public model::UserInterface {
 public:
  DownloadChoice() : front_(model::UserInterface::Current()) { model::UserInterface::SetCurrent(this); }
  ~DownloadChoice() override { model::UserInterface::SetCurrent(&front_); }
  DownloadChoice(const DownloadChoice&) = delete;
  DownloadChoice& operator=(const DownloadChoice&) = delete;

  void ShowMessage(std::string_view text, model::MessageIcon icon) override {
    front_.ShowMessage(text, icon);
  }
  bool AskYesNo(std::string_view text) override { return front_.AskYesNo(text); }
  bool AskViewPassword(std::string_view blogName, std::string& password) override {
    return front_.AskViewPassword(blogName, password);
  }
  model::NewVersionChoice OfferNewVersion(std::string_view version) override {
    const model::NewVersionChoice answer = front_.OfferNewVersion(version);
    download = answer.download;
    return answer;
  }
  void EditNewSubscription(model::CWinBlogStorage& blog) override { front_.EditNewSubscription(blog); }

  bool download = false;

 private:
  model::UserInterface& front_;
};

}  // namespace

uint32_t BlogNetwork::SyncBlog(model::CWinBlogUser& user, model::CWinBlogStorage& blog,
                               model::BlogEntry* entry, model::ProgressReporter* progress) {
  OpenClient client;
  if (!client.IsOpen()) return kResultAlreadyReported;
  SyncProgress context(progress);
  const uint32_t code = SyncRunner::SyncBlog(ServiceClient::Service(), user, blog, entry, context);
  return ServiceErrors::ReportSyncTransportFailure(code, context.TransportFailure());
}

uint32_t BlogNetwork::SyncNewSubscription(model::CWinBlogUser& user, model::CWinBlogStorage& blog,
                                          model::ProgressReporter* progress) {
  OpenClient client;
  if (!client.IsOpen()) return kResultAlreadyReported;
  SyncProgress context(progress);
  const uint32_t code = SyncRunner::SyncBlog(ServiceClient::Service(), user, blog, nullptr, context);
  if (code == 0 || code == kResultAlreadyReported) return code;
  if (context.TransportFailure() != 0) {
    model::UserInterface::Current().ShowMessage(platform::LoadString(platform::strings::kInternetUnavailable),
                                                model::MessageIcon::Error);
  } else {
    ServiceErrors::ShowUnreported(code);
  }
  return code;
}

uint32_t BlogNetwork::GetChannels(model::ProgressReporter* progress, std::string& text) {
  OpenClient client;
  if (!client.IsOpen()) return kResultAlreadyReported;
  MorvaneBlogService& service = ServiceClient::Service();
  service.SetStorage(nullptr);
  SyncProgress context(progress);
  return service.GetChannels(text, model::CWinBlogChannels::kMaxText, &SyncProgress::ProgressCallback, &context);
}

uint32_t BlogNetwork::DownloadPhoto(model::CWinBlogStorage& blog, model::ProgressReporter* progress,
                                    model::BlogEntry& entry, uint8_t sizeCode) {
  OpenClient client;
  if (!client.IsOpen()) return kResultAlreadyReported;
  blog.ComputePhotoFolder();
  MorvaneBlogService& service = ServiceClient::Service();
  service.SetStorage(&blog);
  SyncProgress context(progress);
  context.SetBlog(&blog);
  const uint32_t code = service.DownloadEntryPhoto(entry, sizeCode, &SyncProgress::ProgressCallback, &context);
  return ServiceErrors::ReportSyncTransportFailure(code, context.TransportFailure());
}

uint32_t BlogNetwork::PostComment(model::CWinBlogUser& user, model::CWinBlogStorage& blog,
                                  model::ProgressReporter* progress, model::BlogComment& comment) {
  OpenClient client;
  if (!client.IsOpen()) return kResultAlreadyReported;
  MorvaneBlogService& service = ServiceClient::Service();
  ServiceClient::HandOver(service, &user, blog);
  SyncProgress context(progress);
  context.SetBlog(&blog);
  // A service that cannot be reached is said once; the comment waits for the
  // next sync. The failure is read only once the exchange is over.
  const uint32_t code = service.StoreComment(comment, &SyncProgress::ProgressCallback, &context);
  return ServiceErrors::ReportSyncTransportFailure(code, context.TransportFailure());
}

uint32_t BlogNetwork::SendPhotoEmail(model::CWinBlogUser& user, model::CWinBlogStorage& blog,
                                     model::ProgressReporter* progress, uint32_t categoryId,
                                     uint32_t entryId, std::string_view recipients,
                                     std::string_view message) {
  OpenClient client;
  if (!client.IsOpen()) return kResultAlreadyReported;
  MorvaneBlogService& service = ServiceClient::Service();
  ServiceClient::HandOver(service, &user, blog);
  SyncProgress context(progress);
  context.SetBlog(&blog);
  const uint32_t code = service.SendPhotoEmail(categoryId, entryId, recipients, message,
                                               &SyncProgress::ProgressCallback, &context);
  return ServiceErrors::ReportSyncTransportFailure(code, context.TransportFailure());
}

uint32_t BlogNetwork::PostRemoteEntry(model::CWinBlogUser& user, model::CWinBlogStorage& blog,
                                      model::ProgressReporter* progress, uint32_t categoryId,
                                      uint32_t entryId, std::string_view remoteBlog,
                                      std::string_view title, std::string_view caption) {
  OpenClient client;
  if (!client.IsOpen()) return kResultAlreadyReported;
  MorvaneBlogService& service = ServiceClient::Service();
  ServiceClient::HandOver(service, &user, blog);
  SyncProgress context(progress);
  context.SetBlog(&blog);
  const uint32_t code = service.PostToRemoteBlog(categoryId, entryId, remoteBlog, title, caption,
                                                 &SyncProgress::ProgressCallback, &context);
  return ServiceErrors::ReportSyncTransportFailure(code, context.TransportFailure());
}

bool BlogNetwork::CheckForUpdates(model::CWinBlogStorage& blog, model::ProgressReporter* progress,
                                  bool& newerExists, uint32_t& code) {
  newerExists = false;
  code = kResultAlreadyReported;
  OpenClient client;
  if (!client.IsOpen()) return false;
  platform::WriteLastIgnoredVersion("");
  MorvaneBlogService& service = ServiceClient::Service();
  service.SetStorage(&blog);
  SyncProgress context(progress);
  DownloadChoice choice;
  const bool read = service.CheckVersion(true, newerExists, &SyncProgress::ProgressCallback, &context);
  code = read ? 0 : (progress != nullptr && progress->IsCancelled() ? platform::kErrCancelled
                                                                     : platform::kErrGenFailure);
  return choice.download;
}

}  // namespace service
