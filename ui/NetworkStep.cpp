#include "ui/NetworkStep.h"

#include "service/AccountNetwork.h"
#include "service/NetworkConnection.h"
#include "platform/StringIds.h"
#include "ui/CProgressWnd.h"

namespace ui {

bool NetworkStep::Run(PhoneScreen& screen, QWidget* owner, uint32_t titleId,
                      const std::function<void(CProgressWnd&)>& work) {
  CProgressWnd progress(screen);
  if (!progress.Create(owner, 3, false)) return false;
  if (titleId != 0) progress.SetLine(0, titleId);
  progress.show();
  const bool connected =
      service::NetworkConnection::ConnectNetwork(&progress) == service::NetworkConnection::Outcome::Connected;
  if (connected) work(progress);
  service::NetworkConnection::ReleaseNetwork();
  progress.Destroy();
  return connected;
}

void NetworkStep::SyncAll(PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user) {
  Run(screen, owner, platform::strings::kSynchronizing,
      [&user](CProgressWnd& progress) { service::AccountNetwork::SyncAll(user, &progress); });
}

}  // namespace ui
