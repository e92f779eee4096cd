#include "dialogs/account/WelcomeFlow.h"

#include "dialogs/account/CCreateAccountDlg.h"
#include "dialogs/account/CLoginInfoDlg.h"
#include "dialogs/account/CWelcomeDlg.h"
#include "model/CWinBlogUser.h"
#include "ui/NetworkStep.h"

namespace dialogs {

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
  ui::NetworkStep::SyncAll(screen, owner, user);
  return true;
}

}  // namespace dialogs
