#include "service/SyncRunner.h"

#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "model/ProgressReporter.h"
#include "model/UserInterface.h"
#include "net/Http.h"
#include "platform/ErrorCodes.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "service/MorvaneBlogService.h"
#include "service/NetworkConnection.h"
#include "service/ServiceClient.h"
#include "service/ServiceErrors.h"
#include "service/SyncProgress.h"

namespace service {

namespace {

uint32_t ShowIfCancelled(uint32_t code) {
  if (code != platform::kErrCancelled) return code;
  model::UserInterface::Current().ShowMessage(platform::LoadString(platform::strings::kSyncCancelled),
                                              model::MessageIcon::Information);
  return kResultAlreadyReported;
}

}  // namespace

uint32_t SyncRunner::StartTimestamp(uint32_t stored, uint32_t now) {
  if (stored != 0 && now > stored && now - stored > kMaxTimestampAge) return 0;
  return stored;
}

uint32_t SyncRunner::SyncBlog(MorvaneBlogService& service, model::CWinBlogUser& user,
                              model::CWinBlogStorage& blog, model::BlogEntry* entry,
                              SyncProgress& progress) {
  blog.ComputePhotoFolder();
  if (progress.Reporter() != nullptr) progress.Reporter()->ResetCancel();
  progress.SetBlog(&blog);
  ServiceClient::HandOver(service, &user, blog);

  uint32_t code = 0;
  if (entry != nullptr && entry->CategoryHasServiceId()) {
    if (!entry->IsModified()) return 0;
    code = service.StoreEntry(*entry, &SyncProgress::ProgressCallback, &progress,
                              blog.GetBlogInfo()->GetGroupType(), 1, 1);
    if (code == kResultInvalidJpeg || code == kResultPhotoRefused) {
      service.ReportUnsentPhotos({service.UnsentPhotoItem(*entry, code)});
      code = 0;
    }
    if (code == kResultAlreadyReported) code = 0;
  } else {
    service.SetSyncTimestamp(StartTimestamp(blog.GetLastSync(), service.GetHttp().Now()));
    code = service.Synchronize(&SyncProgress::ProgressCallback, &progress);
    blog.SetLastSync(service.GetSyncTimestamp());
  }
  progress.SetBlog(nullptr);
  return ShowIfCancelled(code);
}

uint32_t SyncRunner::RunSync(model::CWinBlogUser& user, model::CWinBlogStorage& blog,
                             model::ProgressReporter* progress) {
  uint32_t failure = 0;
  switch (NetworkConnection::ConnectNetwork(progress, &failure)) {
    case NetworkConnection::Outcome::Connected:
      break;
    case NetworkConnection::Outcome::Cancelled:
      return platform::kErrCancelled;
    case NetworkConnection::Outcome::Failed:
      return kResultAlreadyReported;
  }
  uint32_t code = kResultAlreadyReported;
  if (ServiceClient::Open()) {
    SyncProgress context(progress);
    code = SyncBlog(ServiceClient::Service(), user, blog, nullptr, context);
    ServiceClient::Close();
    code = ServiceErrors::ReportSyncTransportFailure(code, context.TransportFailure());
    if (code == 0) code = blog.Save();
  }
  NetworkConnection::ReleaseNetwork();
  return code;
}

}  // namespace service
