#include <memory>
#include <string>

#include "model/CWinBlogUser.h"
#include "model/UserInterface.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/TextConversion.h"

namespace model {

namespace {

std::string WithName(uint32_t id, std::string_view name) {
  std::string text = platform::LoadString(id);
  const size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, name);
  return text;
}

}  // namespace

bool CWinBlogUser::Subscribe(std::string_view name) {
  UserInterface& ui = UserInterface::Current();
  if (!ui.AskYesNo(WithName(platform::strings::kAskSubscribe, name))) return false;
  std::unique_ptr<CWinBlogStorage> blog = MakeBlog(name);
  if (!blog) {
    ui.ShowMessage(platform::LoadString(platform::strings::kNoMemory), MessageIcon::Exclamation);
    return false;
  }
  blog->SetAccount(this);
  ui.EditNewSubscription(*blog);
  blog->newSubscription = true;
  // A blog whose file cannot be written is dropped; the next account check asks
  // again, so the service keeps the subscription meanwhile.
  if (blog->Save() == 0) blogs_.InsertBlog(std::move(blog));
  return true;
}

bool CWinBlogUser::Unsubscribe(std::string_view name) {
  UserInterface& ui = UserInterface::Current();
  if (!ui.AskYesNo(WithName(platform::strings::kAskUnsubscribe, name))) return false;
  CWinBlogStorage* blog = blogs_.FindBlogByName(platform::Utf8ToUtf16(name));
  if (blog == nullptr) return true;
  const bool deletePhotos = ui.AskYesNo(platform::LoadString(platform::strings::kAskDeletePhotos));
  blogs_.RemoveBlog(blog, deletePhotos);
  return true;
}

}  // namespace model
