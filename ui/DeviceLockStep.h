#pragma once

#include "model/DeviceCommandLock.h"

class QWidget;

namespace model {
class CWinBlogUser;
}

namespace ui {

class PhoneScreen;

// The device root's lock for one command of the phone window: taken at once when
// it is free, otherwise the progress window says "Waiting for another Tessary
// program..." until it is, with Cancel. Once it is held, the account is brought
// up to date with what another program saved. Released when it goes.
class DeviceLockStep {
 public:
  // False when the command must not run: cancelled (nothing shown) or the lock
  // file cannot be used (a message says so). With a user, the account is read
  // again when another program changed its files.
  bool Acquire(PhoneScreen& screen, QWidget* owner, model::CWinBlogUser* user);
  // The account or a blog was read again: what the view holds may be stale.
  bool Reloaded() const { return reloaded_; }
  void Release() { lock_.Release(); }

 private:
  model::DeviceCommandLock lock_;
  bool reloaded_ = false;
};

}  // namespace ui
