#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace model {

class CWinBlogStorage;

// Icon of a message box; it tells what kind of message it is.
enum class MessageIcon { Information, Exclamation, Error, Question };

// What the user decided in the New Version Available screen.
struct NewVersionChoice {
  bool dontShowAgain = false;  // ignore this version from now on
  bool download = false;       // open the download page and quit
};

// Where the core asks the user something. Each front end implements it (GUI:
// dialogs; command line: terminal prompts and --yes/--no; tests: a script). Every
// message box has the caption "Tessary".
class UserInterface {
 public:
  virtual ~UserInterface() = default;

  virtual void ShowMessage(std::string_view text, MessageIcon icon) = 0;
  // A question with the question icon and Yes/No buttons; true for Yes.
  virtual bool AskYesNo(std::string_view text) = 0;
  // The view-password dialog for a hidden blog; true on OK with the typed text.
  virtual bool AskViewPassword(std::string_view blogName, std::string& password) = 0;
  // The New Version Available screen for the version text `version`.
  virtual NewVersionChoice OfferNewVersion(std::string_view version) = 0;
  // The Blog Prefs screen in its sync-only layout for a blog just subscribed to;
  // it may change the blog's download settings.
  virtual void EditNewSubscription(CWinBlogStorage& blog) = 0;

  // The front end in use. Until one is set, a silent one answers No and Cancel.
  static UserInterface& Current();
  static void SetCurrent(UserInterface* ui);
};

}  // namespace model
