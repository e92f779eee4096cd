#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "ui/SoftKeyBar.h"

namespace ui {
class PhoneScreen;
}  // namespace ui

// The main frame: the phone's main window. It owns the home view's soft-key bar
// (menu resource 128) and the main view, offers every command to the view first
// and handles Exit (and what the application gives it) itself.
class CMainFrame : public QWidget {
  Q_OBJECT

 public:
  // A part of the program that takes commands: answers whether it handled one.
  using CommandHandler = std::function<bool(uint32_t command)>;
  // Answers whether a command can act now (greyed out in the menus otherwise).
  using CommandFilter = std::function<bool(uint32_t command)>;

  explicit CMainFrame(ui::PhoneScreen& screen);
  ~CMainFrame() override;

  // The creation handler: creates and shows the soft-key bar and makes the frame
  // end where the bar begins. False when the bar cannot be made.
  bool Create();

  ui::PhoneScreen& Screen() const { return screen_; }
  ui::SoftKeyBar* MenuBar() const { return menuBar_; }
  // The view's handler and filter, asked first.
  void SetView(CommandHandler handler, CommandFilter filter);
  // The application's handler (About), asked when the view declines.
  void SetAppHandler(CommandHandler handler);

  void OnCommand(uint32_t command);
  bool CanAct(uint32_t command) const;
  void SetCaption(const QString& caption);

 signals:
  void ExitRequested();

 private:
  ui::PhoneScreen& screen_;
  QPointer<ui::SoftKeyBar> menuBar_;
  CommandHandler viewHandler_;
  CommandFilter viewFilter_;
  CommandHandler appHandler_;
};
