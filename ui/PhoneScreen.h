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
//
// What takes the keys is a stack of layers: the main window at the bottom, then
// each dialog screen, progress window, message box and menu while it is up. When
// a layer goes, the keyboard focus goes back to the layer below, to the control
// that had it there, so keys always reach the view or the screen on top.
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

  // The screen the program shows its message boxes on (the last one made).
  static PhoneScreen* Current();

  // The main window, the bottom layer; it gets the focus when no layer is up.
  void SetMainWindow(QWidget* window);
  void PushLayer(QWidget* layer);
  // Removes the layer (wherever it is in the stack) and, when it was on top,
  // gives the focus back to the layer below.
  void PopLayer(QWidget* layer);
  QWidget* TopLayer() const;
  // Focus to the top layer's remembered control (or the layer itself).
  void RestoreFocus();

  void RegisterBar(SoftKeyBar* bar);
  void UnregisterBar(SoftKeyBar* bar);
  void BarShown(SoftKeyBar* bar);

 signals:
  void CaptionChanged(const QString& caption);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void TraceTop() const;

  int trayHeight_;
  int barHeight_;
  QString caption_;
  std::vector<SoftKeyBar*> bars_;  // in the order they were last shown
  struct Layer {
    QPointer<QWidget> widget;
    QPointer<QWidget> focus;  // the control that had the focus when a layer covered it
  };
  Layer main_;
  std::vector<Layer> layers_;
};

}  // namespace ui
