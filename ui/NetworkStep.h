#pragma once

#include <cstdint>
#include <functional>

class QWidget;

namespace model {
class CWinBlogUser;
}

namespace ui {

class CProgressWnd;
class PhoneScreen;

// The network step of commands and screens that talk to the service: the
// progress window over the owner's window (line 0 from `titleId` when not 0),
// the data connection, the work with the window as its progress, then the
// release and the window's end.
class NetworkStep {
 public:
  // Answers whether the connection came up and `work` ran; a failed connection
  // has shown its message, a cancelled one shows nothing.
  static bool Run(PhoneScreen& screen, QWidget* owner, uint32_t titleId,
                  const std::function<void(CProgressWnd&)>& work);
  // The network step and the sync of the account and every blog, as the home
  // view's Sync, start-up after a new login and a login in the welcome flow run it.
  static void SyncAll(PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user);
};

}  // namespace ui
