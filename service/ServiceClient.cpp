#include "service/ServiceClient.h"

#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "model/UserInterface.h"
#include "net/Win32Http.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "service/MorvaneBlogService.h"

namespace service {

net::Http& ServiceClient::Http() {
  static net::Win32Http http;
  return http;
}

MorvaneBlogService& ServiceClient::Service() {
  static MorvaneBlogService service(Http());
  return service;
}

bool ServiceClient::Open() {
  if (Http().Open()) return true;
  model::UserInterface::Current().ShowMessage(platform::LoadString(platform::strings::kInternetUnavailable),
                                              model::MessageIcon::Error);
  return false;
}

void ServiceClient::Close() { Http().Close(); }

void ServiceClient::HandOver(MorvaneBlogService& service, model::CWinBlogUser* user,
                             model::CWinBlogStorage& blog) {
  const model::CBlogInfo& info = blog.Info();
  service.SetStorage(&blog);
  service.SetUser(user);
  if (user != nullptr) {
    service.SetAccount(user->GetEmail(), user->GetPassword(), user->GetUserId(), info.urlName,
                       info.viewPassword);
  } else {
    service.SetAccount({}, {}, 0, info.urlName, info.viewPassword);
  }
  service.SetPhotoSizes(info.uploadSize, info.downloadSize);
}

}  // namespace service
