#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

namespace ui {

class SoftKeyBar;

// The phone's whole screen in device pixels: the title tray at the top, the
// work area for the main frame and dialog screens, and the soft-key strip at
// the bottom where the most recently shown bar is on top. F1 and F2 press
// that bar's keys wherever the keyboard focus is on this screen.
class PhoneScreen : public QWidget {
  Q_OBJECT

 public:
  PhoneScreen(int width, int height);
  ~PhoneScreen() override;

  QRect TrayRect() const;
  QRect SoftKeyRect() const;
  QRect WorkRect() const;

  // The caption the tray shows (the main window's title).
  void SetCaption(const QString& caption);
  QString Caption() const { return caption_; }

  // The window on this screen that holds `widget` (its ancestor sitting
  // directly on the screen), or nullptr.
  QWidget* MainWindowOf(QWidget* widget) const;

  // The visible bar shown last, which receives F1 and F2; nullptr when none.
  SoftKeyBar* TopBar() const;

  void RegisterBar(SoftKeyBar* bar);
  void UnregisterBar(SoftKeyBar* bar);
  void BarShown(SoftKeyBar* bar);

 signals:
  void CaptionChanged(const QString& caption);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int trayHeight_;
  int barHeight_;
  QString caption_;
  std::vector<SoftKeyBar*> bars_;  // in the order they were last shown
};

}  // namespace ui
