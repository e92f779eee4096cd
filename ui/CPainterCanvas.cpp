#include "ui/CPainterCanvas.h"

#include <QImage>
#include <QPainter>

namespace ui {

void CPainterCanvas::DrawBitmap(const image::Bitmap& bitmap, const image::Rect& area) {
  if (bitmap.Width() == 0 || bitmap.Height() == 0) return;
  // The bitmap's rows are RGB565 exactly as QImage::Format_RGB16 keeps them.
  const QImage picture(reinterpret_cast<const uchar*>(bitmap.Row(0)), static_cast<int>(bitmap.Width()),
                       static_cast<int>(bitmap.Height()), static_cast<qsizetype>(bitmap.Stride()) * 2,
                       QImage::Format_RGB16);
  painter_.drawImage(QRect(area.left, area.top, area.Width(), area.Height()), picture);
}

}  // namespace ui
