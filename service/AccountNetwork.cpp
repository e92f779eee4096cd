#include "service/AccountNetwork.h"

#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "model/ProgressReporter.h"
#include "model/UserInterface.h"
#include "platform/ErrorCodes.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "service/MorvaneBlogService.h"
#include "service/ServiceClient.h"
#include "service/ServiceErrors.h"
#include "service/SyncProgress.h"
#include "service/SyncRunner.h"

namespace service {

namespace {

// Forgets the account's progress when the check ends, however it ends.
class AccountProgressScope {
 public:
  AccountProgressScope(model::CWinBlogUser& user, model::ProgressReporter* progress) : user_(user) {
    user_.progress = progress;
  }
  ~AccountProgressScope() { user_.progress = nullptr; }
  AccountProgressScope(const AccountProgressScope&) = delete;
  AccountProgressScope& operator=(const AccountProgressScope&) = delete;

 private:
  model::CWinBlogUser& user_;
};

}  // namespace

uint32_t AccountNetwork::CheckAccount(model::CWinBlogUser& user, model::ProgressReporter* progress) {
  SyncProgress context(progress);
  return CheckAccount(user, context);
}

uint32_t AccountNetwork::CheckAccount(model::CWinBlogUser& user, SyncProgress& context) {
  uint32_t code = 0;
  {
    AccountProgressScope scope(user, context.Reporter());
    MorvaneBlogService& service = ServiceClient::Service();
    service.SetStorage(nullptr);
    service.SetUser(&user);
    code = service.CheckAccount(&SyncProgress::ProgressCallback, &context);
    service.SetUser(nullptr);
    user.SaveUser();
  }
  if (code == platform::kErrCancelled) {
    model::UserInterface::Current().ShowMessage(platform::LoadString(platform::strings::kSyncCancelled),
                                                model::MessageIcon::Information);
    return kResultAlreadyReported;
  }
  return code;
}

uint32_t AccountNetwork::SyncAll(model::CWinBlogUser& user, model::ProgressReporter* progress) {
  user.Blogs().ClearNewSubscriptions();
  if (!ServiceClient::Open()) return kResultAlreadyReported;
  SyncProgress context(progress);
  uint32_t answer = CheckAccount(user, context);
  if (answer == 0) {
    bool asked = false;
    bool downloadNew = true;
    for (size_t i = 0; i < user.Blogs().Count(); ++i) {
      model::CWinBlogStorage* blog = user.Blogs().At(i);
      if (blog->newSubscription) {
        if (!asked) {
          asked = true;
          downloadNew = model::UserInterface::Current().AskYesNo(
              platform::LoadString(platform::strings::kAskNewSubscriptions));
        }
        if (!downloadNew) continue;
      }
      const uint32_t code = SyncRunner::SyncBlog(ServiceClient::Service(), user, *blog, nullptr, context);
      if (code != 0) {
        answer = code;
        break;
      }
      if (const uint32_t saved = blog->Save(); saved != 0) answer = saved;
    }
  }
  ServiceClient::Close();
  return ServiceErrors::ReportSyncTransportFailure(answer, context.TransportFailure());
}

uint32_t AccountNetwork::CreateAccount(model::CWinBlogUser& user, model::ProgressReporter* progress,
                                       std::string_view email, std::string_view password,
                                       std::string_view firstName, std::string_view lastName) {
  user.SetEmail(email);
  user.SetPassword(password);
  if (!ServiceClient::Open()) return kCreateFailed;
  SyncProgress context(progress);
  MorvaneBlogService& service = ServiceClient::Service();
  service.SetStorage(nullptr);
  const uint32_t code =
      service.CreateAccount(email, password, firstName, lastName, &SyncProgress::ProgressCallback, &context);
  ServiceClient::Close();
  return code;
}

uint32_t AccountNetwork::CreateBlog(model::CWinBlogUser& user, model::ProgressReporter* progress,
                                    std::string_view urlName, std::string_view title,
                                    std::string_view subtitle, std::array<std::string, 2>& suggestions,
                                    std::unique_ptr<model::CWinBlogStorage>& created) {
  std::unique_ptr<model::CWinBlogStorage> blog = user.MakeBlog(urlName);
  if (!blog) return platform::kErrOutOfMemory;
  model::CBlogInfo* info = blog->GetBlogInfo();
  info->title = title;
  info->subtitle = subtitle;
  if (!ServiceClient::Open()) return kCreateFailed;

  blog->ComputePhotoFolder();
  MorvaneBlogService& service = ServiceClient::Service();
  ServiceClient::HandOver(service, &user, *blog);
  SyncProgress context(progress);
  context.SetBlog(blog.get());
  std::array<std::string, MorvaneBlogService::kAlternates> alternates;
  const uint32_t code = service.CreateBlog(urlName, info->title, info->subtitle, info->hidden == 0,
                                           alternates, &SyncProgress::ProgressCallback, &context);
  service.SetStorage(nullptr);
  ServiceClient::Close();
  suggestions[0] = alternates[0];
  suggestions[1] = alternates[1];
  if (code == 0) created = std::move(blog);
  return code;
}

}  // namespace service
