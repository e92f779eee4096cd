#pragma once

class QWidget;

namespace model {
class CWinBlogUser;
}
namespace ui {
class PhoneScreen;
}

namespace dialogs {

// The welcome flow of a user without a login: the Welcome screen, then either
// the account wizard or Enter Login Info. At start-up it leaves the sync of a
// new login to the start-up itself; in normal mode (Subscribe to Blog or Create
// New Blog without a login) it syncs every blog after a login.
class WelcomeFlow {
 public:
  // Answers whether the account changed so that the opener should redraw: in
  // normal mode, a wizard that made a blog or a login that was stored.
  static bool Run(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user, bool startupMode);
};

}  // namespace dialogs
