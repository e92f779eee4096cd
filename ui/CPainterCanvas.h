#pragma once

#include "image/ImageCanvas.h"

class QPainter;

namespace ui {

// The image layer's canvas on a Qt painter: finished 16-bit pictures are
// painted at the area the decoder chose.
class CPainterCanvas : public image::ImageCanvas {
 public:
  explicit CPainterCanvas(QPainter& painter) : painter_(painter) {}
  void DrawBitmap(const image::Bitmap& bitmap, const image::Rect& area) override;

 private:
  QPainter& painter_;
};

}  // namespace ui
