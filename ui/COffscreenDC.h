#pragma once

#include <QImage>
#include <QPainter>
#include <QSize>

namespace ui {

// A white off-screen surface of a given size: drawing happens here and the
// finished picture is copied to the screen at once, so nothing appears half
// drawn.
class COffscreenDC {
 public:
  explicit COffscreenDC(QSize size);
  COffscreenDC(const COffscreenDC&) = delete;
  COffscreenDC& operator=(const COffscreenDC&) = delete;

  QPainter& Painter() { return painter_; }
  // Ends drawing and copies the surface to `target` at its origin.
  void CopyTo(QPainter& target);
  const QImage& Image() const { return image_; }

 private:
  QImage image_;
  QPainter painter_;
};

}  // namespace ui
