#include "app/GuiUserInterface.h"

#include <QDesktopServices>
#include <QUrl>
#include <string>

#include "dialogs/blogs/CBlogPrefsDlg.h"
#include "dialogs/blogs/CGetViewPasswordDlg.h"
#include "dialogs/prefs/CNewVersionDlg.h"
#include "service/VersionCheck.h"
#include "ui/CommandIds.h"
#include "ui/MessageBox.h"
#include "ui/PhoneScreen.h"
#include "ui/QtText.h"

namespace app {

namespace {

ui::MessageBox::Icon IconOf(model::MessageIcon icon) {
  switch (icon) {
    case model::MessageIcon::Information: return ui::MessageBox::Icon::Information;
    case model::MessageIcon::Exclamation: return ui::MessageBox::Icon::Exclamation;
    case model::MessageIcon::Error: return ui::MessageBox::Icon::Error;
    case model::MessageIcon::Question: return ui::MessageBox::Icon::Question;
  }
  return ui::MessageBox::Icon::None;
}

}  // namespace

ui::PhoneScreen* GuiUserInterface::Screen() { return ui::PhoneScreen::Current(); }

QWidget* GuiUserInterface::Owner(ui::PhoneScreen& screen) {
  QWidget* top = screen.TopLayer();
  return top ? top : &screen;
}

void GuiUserInterface::ShowMessage(std::string_view text, model::MessageIcon icon) {
  ui::MessageBox::Show(std::string(text), IconOf(icon));
}

bool GuiUserInterface::AskYesNo(std::string_view text) {
  return ui::MessageBox::Ask(std::string(text), false) == ui::MessageBox::kYes;
}

bool GuiUserInterface::AskViewPassword(std::string_view blogName, std::string& password) {
  ui::PhoneScreen* screen = Screen();
  if (!screen) return false;
  dialogs::CGetViewPasswordDlg dialog(*screen, Owner(*screen), ui::Text(blogName));
  if (dialog.DoModal() != ui::CDialogScreen::kOk) return false;
  password = dialog.Password();
  return true;
}

model::NewVersionChoice GuiUserInterface::OfferNewVersion(std::string_view version) {
  ui::PhoneScreen* screen = Screen();
  if (!screen) return {};
  dialogs::CNewVersionDlg dialog(*screen, Owner(*screen), ui::Text(version));
  model::NewVersionChoice choice;
  choice.download = dialog.DoModal() == static_cast<int>(ui::commands::kDialogDownload);
  choice.dontShowAgain = dialog.DontShowAgain();
  if (choice.download) {
    // The browser gets the download page; installing is the desktop's business.
    QDesktopServices::openUrl(QUrl(QString::fromStdString(service::VersionCheck::DownloadAddress())));
    if (quit_) quit_();
  }
  return choice;
}

void GuiUserInterface::EditNewSubscription(model::CWinBlogStorage& blog) {
  ui::PhoneScreen* screen = Screen();
  if (!screen) return;
  dialogs::CBlogPrefsDlg dialog(*screen, Owner(*screen), blog, dialogs::CBlogPrefsDlg::Layout::SyncOnly);
  dialog.DoModal();
}

}  // namespace app
