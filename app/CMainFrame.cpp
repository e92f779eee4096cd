#include "app/CMainFrame.h"

#include <QTimer>

#include "app/MainCommands.h"
#include "dialogs/account/AccountCommands.h"
#include "dialogs/account/WelcomeFlow.h"
#include "dialogs/blogs/BlogCommands.h"
#include "dialogs/categories/CategoryCommands.h"
#include "dialogs/comments/CommentCommands.h"
#include "dialogs/entries/EntryCommands.h"
#include "dialogs/entries/PhotoEntries.h"
#include "dialogs/photos/PhotoCommands.h"
#include "dialogs/prefs/SmallDialogCommands.h"
#include "dialogs/prefs/CameraPrefsCommands.h"
#include "dialogs/share/ShareCommands.h"
#include "photo/CameraLauncher.h"
#include "ui/CChildView.h"
#include "ui/CDialogScreen.h"
#include "ui/DeviceLockStep.h"
#include "ui/CommandIds.h"
#include "ui/PhoneScreen.h"
#include "ui/ViewCommands.h"

namespace app {

CMainFrame::CMainFrame(ui::PhoneScreen& screen, model::CWinBlogUser& user)
    : QWidget(&screen), screen_(screen), user_(user) {
  setFocusPolicy(Qt::StrongFocus);
  screen.SetMainWindow(this);
}

CMainFrame::~CMainFrame() {
  photo::CameraLauncher::Current().SetAnswerHandler(nullptr);
  delete menuBar_;
}

bool CMainFrame::Create() {
  view_ = new ui::CChildView(this, *this, user_);
  view_->setGeometry(rect());
  view_->show();
  view_->SetWelcomeFlow([this] { dialogs::WelcomeFlow::Run(screen_, view_, user_, true); });
  commands_.Add(ui::ViewCommands::Table());
  commands_.Add(MainCommands::Table());
  commands_.Add(dialogs::AccountCommands::Table());
  commands_.Add(dialogs::BlogCommands::Table());
  commands_.Add(dialogs::CommentCommands::Table());
  commands_.Add(dialogs::PhotoCommands::Table());
  commands_.Add(dialogs::ShareCommands::Table());
  commands_.Add(dialogs::SmallDialogCommands::Table());
  commands_.Add(dialogs::EntryCommands::Table());
  commands_.Add(dialogs::CategoryCommands::Table());
  commands_.Add(dialogs::CameraPrefsCommands::Table());
  photo::CameraLauncher::Current().SetAnswerHandler([this](const std::string& path) { OnCameraAnswer(path); });
  menuBar_ = new ui::SoftKeyBar(screen_, 128);
  if (!menuBar_->RightMenu()) return false;
  menuBar_->SetCommandFilter([this](uint32_t command) { return CanAct(command); });
  connect(menuBar_, &ui::SoftKeyBar::CommandChosen, this, &CMainFrame::OnCommand);
  menuBar_->show();
  setGeometry(x(), y(), width(), menuBar_->geometry().top() - y());
  return true;
}

void CMainFrame::ShowHomeBar(bool show) {
  if (menuBar_) menuBar_->setVisible(show);
}

void CMainFrame::OnCommand(uint32_t command) {
  if (command == ui::commands::kExit) {
    emit ExitRequested();
    return;
  }
  if (!view_ || !commands_.CanAct(view_->Context(), command)) return;
  // The context is taken again under the lock: reading another program's
  // changes may have replaced what the view showed.
  RunLocked([this, command](bool) { commands_.Run(view_->Context(), command); });
}

void CMainFrame::OnCameraAnswer(const std::string& path) {
  // A photo taken while a command runs waits for the command to end.
  if (!isEnabled() || ui::CDialogScreen::Active()) {
    QTimer::singleShot(kCameraAnswerRetryMs, this, [this, path] { OnCameraAnswer(path); });
    return;
  }
  RunLocked([this, path](bool) { dialogs::PhotoEntries::CameraAnswer(view_->Context(), path); });
}

void CMainFrame::RunLocked(const std::function<void(bool reloaded)>& work) {
  const std::string shown = view_ ? view_->CurrentBlogName() : std::string();
  ui::DeviceLockStep lock;
  if (!lock.Acquire(screen_, view_ ? static_cast<QWidget*>(view_) : this, &user_)) return;
  if (lock.Reloaded() && view_) view_->Reloaded(shown);
  work(lock.Reloaded());
}

bool CMainFrame::CanAct(uint32_t command) const {
  if (command == ui::commands::kExit) return true;
  return view_ && commands_.CanAct(view_->Context(), command);
}

void CMainFrame::SetCaption(const QString& caption) {
  setWindowTitle(caption);
  screen_.SetCaption(caption);
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (view_) view_->setGeometry(rect());
}

void CMainFrame::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  if (view_) view_->setFocus();
}

}  // namespace app
