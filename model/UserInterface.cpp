#include "model/UserInterface.h"

namespace model {

namespace {

// Used until a front end sets its own: shows nothing and declines everything.
class SilentUserInterface : public UserInterface {
 public:
  void ShowMessage(std::string_view, MessageIcon) override {}
  bool AskYesNo(std::string_view) override { return false; }
  bool AskViewPassword(std::string_view, std::string&) override { return false; }
  NewVersionChoice OfferNewVersion(std::string_view) override { return {}; }
  void EditNewSubscription(CWinBlogStorage&) override {}
};

SilentUserInterface silent;
UserInterface* current = &silent;

}  // namespace

UserInterface& UserInterface::Current() { return *current; }

void UserInterface::SetCurrent(UserInterface* ui) { current = ui ? ui : &silent; }

}  // namespace model
