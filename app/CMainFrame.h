#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <string>

#include "app/CommandRouter.h"
#include "ui/SoftKeyBar.h"
#include "ui/ViewHost.h"

namespace model {
class CWinBlogUser;
}
namespace ui {
class CChildView;
class PhoneScreen;
}  // namespace ui

namespace app {

// The main frame: the phone's main window. It owns the home view's soft-key bar
// (menu resource 128) and the main view, and routes every command of the bars
// through the joined command tables of the features; Exit it handles itself.
class CMainFrame : public QWidget, public ui::ViewHost {
  Q_OBJECT

 public:
  static constexpr uint32_t kMenuBarId = 0xE800;
  static constexpr int kCameraAnswerRetryMs = 200;

  CMainFrame(ui::PhoneScreen& screen, model::CWinBlogUser& user);
  ~CMainFrame() override;

  // The creation handler: the main view over the client area, then the soft-key
  // bar, shown, with the frame ending where the bar begins. False when the bar
  // cannot be made.
  bool Create();

  ui::SoftKeyBar* MenuBar() const { return menuBar_; }
  ui::CChildView* View() const { return view_; }
  CommandRouter& Commands() { return commands_; }

  // ViewHost.
  ui::PhoneScreen& Screen() const override { return screen_; }
  void ShowHomeBar(bool show) override;
  void SetCaption(const QString& caption) override;
  void OnCommand(uint32_t command) override;
  bool CanAct(uint32_t command) const override;
  void RunLocked(const std::function<void(bool reloaded)>& work) override;
  // The photo an asynchronous camera took (empty: none), once no command runs.
  void OnCameraAnswer(const std::string& path);

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
  CommandRouter commands_;
};

}  // namespace app
