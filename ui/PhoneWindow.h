#pragma once

#include <QGraphicsView>

class QGraphicsProxyWidget;

namespace ui {

class PhoneScreen;

// The desktop window that shows the phone's screen, magnified by a whole zoom
// factor (1 to 4, as far as the desktop has room) without changing the device's
// pixels: the screen is painted at its own size and the window scales the
// picture. Ctrl+plus and Ctrl+minus change the zoom.
class PhoneWindow : public QGraphicsView {
  Q_OBJECT

 public:
  static constexpr int kMinZoom = 1;
  static constexpr int kMaxZoom = 4;

  // Takes ownership of the screen.
  PhoneWindow(PhoneScreen* screen, int zoom);
  ~PhoneWindow() override;

  int Zoom() const { return zoom_; }
  // The largest zoom whose window fits on the desktop.
  int LargestZoom() const;
  void SetZoom(int zoom);
  PhoneScreen* Screen() const { return screen_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  PhoneScreen* screen_;
  QGraphicsProxyWidget* proxy_;
  int zoom_ = 1;
};

}  // namespace ui
