#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "ui/SoftKeyBar.h"
#include "ui/ViewHost.h"

namespace model {
class CWinBlogUser;
}
namespace ui {
class CChildView;
class PhoneScreen;
}  // namespace ui

// The main frame: the phone's main window. It owns the home view's soft-key bar
// (menu resource 128) and the main view, offers every command to the view first
// and handles Exit (and what the application gives it) itself.
class CMainFrame : public QWidget, public ui::ViewHost {
  Q_OBJECT

 public:
  static constexpr uint32_t kMenuBarId = 0xE800;

  // Answers whether the application handled a command the view declined.
  using CommandHandler = std::function<bool(uint32_t command)>;

  CMainFrame(ui::PhoneScreen& screen, model::CWinBlogUser& user);
  ~CMainFrame() override;

  // The creation handler: the main view over the client area, then the soft-key
  // bar, shown, with the frame ending where the bar begins. False when the bar
  // cannot be made.
  bool Create();

  ui::SoftKeyBar* MenuBar() const { return menuBar_; }
  ui::CChildView* View() const { return view_; }
  void SetAppHandler(CommandHandler handler, CommandHandler canAct);

  // ViewHost.
  ui::PhoneScreen& Screen() const override { return screen_; }
  void ShowHomeBar(bool show) override;
  void SetCaption(const QString& caption) override;
  void OnCommand(uint32_t command) override;
  bool CanAct(uint32_t command) const override;

 signals:
  void ExitRequested();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  ui::PhoneScreen& screen_;
  model::CWinBlogUser& user_;
  QPointer<ui::SoftKeyBar> menuBar_;
  ui::CChildView* view_ = nullptr;
  CommandHandler appHandler_;
  CommandHandler appCanAct_;
};
