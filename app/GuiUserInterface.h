#pragma once

#include <functional>

#include "model/UserInterface.h"

class QWidget;

namespace ui {
class PhoneScreen;
}

namespace app {

// The core's questions in the GUI, on the phone's screen: message boxes and
// Yes/No questions captioned "Tessary", Password Required for a blog's view
// password, New Version Available for a newer version (Download hands the
// download page to the desktop's browser and asks the program to quit), and
// the sync-only Blog Prefs for a subscription the service offers.
class GuiUserInterface : public model::UserInterface {
 public:
  void ShowMessage(std::string_view text, model::MessageIcon icon) override;
  bool AskYesNo(std::string_view text) override;
  bool AskViewPassword(std::string_view blogName, std::string& password) override;
  model::NewVersionChoice OfferNewVersion(std::string_view version) override;
  void EditNewSubscription(model::CWinBlogStorage& blog) override;

  // How the program is asked to quit (queued: the command that asks ends first).
  void SetQuitRequest(std::function<void()> quit) { quit_ = std::move(quit); }

 private:
  // The screen the questions' screens open on, and the window below them.
  static ui::PhoneScreen* Screen();
  static QWidget* Owner(ui::PhoneScreen& screen);

  std::function<void()> quit_;
};

}  // namespace app
