#include "dialogs/WelcomeFlow.h"

#include "dialogs/CCreateAccountDlg.h"
#include "dialogs/CLoginInfoDlg.h"
#include "dialogs/CWelcomeDlg.h"
#include "model/CWinBlogUser.h"
#include "service/AccountNetwork.h"
#include "ui/CProgressWnd.h"
#include "ui/NetworkStep.h"
#include "ui/StringIds.h"

bool WelcomeFlow::Run(ui::PhoneScreen& screen, QWidget* owner, model::CWinBlogUser& user, bool startupMode) {
  CWelcomeDlg welcome(screen, owner);
  if (welcome.DoModal() == ui::CDialogScreen::kCancel) return false;

  if (welcome.GetChoice() == CWelcomeDlg::Choice::CreateAccount) {
    CCreateAccountDlg wizard(screen, owner, user);
    const bool done = wizard.DoModal() == ui::CDialogScreen::kOk;
    return done && wizard.BlogCreated() && !startupMode;
  }

  CLoginInfoDlg login(screen, owner, user);
  if (login.DoModal() != ui::CDialogScreen::kOk) return false;
  user.SaveUser();
  if (startupMode) return false;
  ui::NetworkStep::Run(screen, owner, ui::strings::kSynchronizing,
                       [&user](ui::CProgressWnd& progress) { service::AccountNetwork::SyncAll(user, &progress); });
  return true;
}
