#include "ui/COffscreenDC.h"

namespace ui {

COffscreenDC::COffscreenDC(QSize size) : image_(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32) {
  image_.fill(Qt::white);
  painter_.begin(&image_);
}

void COffscreenDC::CopyTo(QPainter& target) {
  if (painter_.isActive()) painter_.end();
  target.drawImage(0, 0, image_);
}

}  // namespace ui
