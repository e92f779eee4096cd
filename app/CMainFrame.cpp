#include "app/CMainFrame.h"

#include "ui/CChildView.h"
#include "ui/CommandIds.h"
#include "ui/PhoneScreen.h"

CMainFrame::CMainFrame(ui::PhoneScreen& screen, model::CWinBlogUser& user)
    : QWidget(&screen), screen_(screen), user_(user) {
  setFocusPolicy(Qt::StrongFocus);
}

CMainFrame::~CMainFrame() { delete menuBar_; }

bool CMainFrame::Create() {
  view_ = new ui::CChildView(this, *this, user_);
  view_->setGeometry(rect());
  view_->show();
  menuBar_ = new ui::SoftKeyBar(screen_, 128);
  if (!menuBar_->RightMenu()) return false;
  menuBar_->SetCommandFilter([this](uint32_t command) { return CanAct(command); });
  connect(menuBar_, &ui::SoftKeyBar::CommandChosen, this, &CMainFrame::OnCommand);
  menuBar_->show();
  setGeometry(x(), y(), width(), menuBar_->geometry().top() - y());
  return true;
}

void CMainFrame::SetAppHandler(CommandHandler handler, CommandHandler canAct) {
  appHandler_ = std::move(handler);
  appCanAct_ = std::move(canAct);
}

void CMainFrame::ShowHomeBar(bool show) {
  if (menuBar_) menuBar_->setVisible(show);
}

void CMainFrame::OnCommand(uint32_t command) {
  if (view_ && view_->OnCommand(command)) return;
  if (command == ui::commands::kExit) {
    emit ExitRequested();
    return;
  }
  if (appHandler_) appHandler_(command);
}

bool CMainFrame::CanAct(uint32_t command) const {
  if (command == ui::commands::kExit) return true;
  if (view_ && view_->CanAct(command)) return true;
  return appCanAct_ && appCanAct_(command);
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
