#include "ui/DeviceLockStep.h"

#include "model/CWinBlogUser.h"
#include "platform/ErrorCodes.h"
#include "service/ServiceErrors.h"
#include "ui/CProgressWnd.h"

namespace ui {

bool DeviceLockStep::Acquire(PhoneScreen& screen, QWidget* owner, model::CWinBlogUser* user) {
  uint32_t rc = lock_.TryAcquire();
  if (rc == platform::kErrLockViolation) {
    CProgressWnd progress(screen);
    if (!progress.Create(owner, 3, true)) return false;
    rc = lock_.Acquire(&progress);
    progress.Destroy();
  }
  if (rc != 0) {
    service::ServiceErrors::ShowUnreported(rc);
    return false;
  }
  reloaded_ = user != nullptr && user->ReloadIfChanged();
  return true;
}

}  // namespace ui
