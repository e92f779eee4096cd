#pragma once

#include "model/UserInterface.h"

namespace app {

// The core's questions in the GUI: message boxes and Yes/No questions as modal
// boxes captioned "Tessary". The Password Required, New Version Available and
// Blog Prefs screens are not part of the GUI yet: until they are, those three
// decline the way the silent interface does (no password, no download, the
// subscription keeps its settings).
class GuiUserInterface : public model::UserInterface {
 public:
  void ShowMessage(std::string_view text, model::MessageIcon icon) override;
  bool AskYesNo(std::string_view text) override;
  bool AskViewPassword(std::string_view blogName, std::string& password) override;
  model::NewVersionChoice OfferNewVersion(std::string_view version) override;
  void EditNewSubscription(model::CWinBlogStorage& blog) override;
};

}  // namespace app
