#include "app/CMainFrame.h"

#include "ui/CommandIds.h"
#include "ui/PhoneScreen.h"
#include "ui/SoftKeyBar.h"

CMainFrame::CMainFrame(ui::PhoneScreen& screen) : QWidget(&screen), screen_(screen) {
  setFocusPolicy(Qt::NoFocus);
}

CMainFrame::~CMainFrame() { delete menuBar_; }

bool CMainFrame::Create() {
  menuBar_ = new ui::SoftKeyBar(screen_, 128);
  if (!menuBar_->RightMenu()) return false;
  menuBar_->SetCommandFilter([this](uint32_t command) { return CanAct(command); });
  connect(menuBar_, &ui::SoftKeyBar::CommandChosen, this, &CMainFrame::OnCommand);
  menuBar_->show();
  const int barTop = menuBar_->geometry().top();
  setGeometry(x(), y(), width(), barTop - y());
  return true;
}

void CMainFrame::SetView(CommandHandler handler, CommandFilter filter) {
  viewHandler_ = std::move(handler);
  viewFilter_ = std::move(filter);
}

void CMainFrame::SetAppHandler(CommandHandler handler) { appHandler_ = std::move(handler); }

void CMainFrame::OnCommand(uint32_t command) {
  if (viewHandler_ && viewHandler_(command)) return;
  if (command == ui::commands::kExit) {
    emit ExitRequested();
    return;
  }
  if (appHandler_) appHandler_(command);
}

bool CMainFrame::CanAct(uint32_t command) const {
  if (command == ui::commands::kExit) return true;
  return viewFilter_ && viewFilter_(command);
}

void CMainFrame::SetCaption(const QString& caption) {
  setWindowTitle(caption);
  screen_.SetCaption(caption);
}
