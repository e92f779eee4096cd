#include "model/CBlogInfo.h"

#include "model/UserInterface.h"
#include "platform/DeviceFacts.h"

namespace model {

CBlogInfo::CBlogInfo() {
  const platform::DeviceFacts& facts = platform::DeviceFacts::Current();
  downloadSize = (facts.screenWidth > 320 || facts.screenHeight > 320) ? 3 : 2;
}

bool CBlogInfo::AskViewPassword(std::string_view blogName) {
  std::string typed;
  if (!UserInterface::Current().AskViewPassword(blogName, typed)) return false;
  if (typed.size() > kMaxViewPassword) typed.resize(kMaxViewPassword);
  viewPassword = typed;
  return true;
}

}  // namespace model
