#pragma once

#include <QColor>
#include <QImage>
#include <cstdint>

class QPainter;

namespace ui {

// A strip of small equal images cut from one bitmap, drawn with one colour
// (cyan unless told otherwise) left out.
class CIconList {
 public:
  static constexpr QRgb kCyan = 0xFF00FFFF;

  // Loads bitmap `bitmapId`; false when it is missing or too small for `count`
  // images of width x height laid out in `columns` columns with `spacing`.
  bool Create(uint32_t bitmapId, int columns, int count, int width, int height, int spacing = 0,
              QRgb transparent = kCyan);
  // The same from an image in hand.
  bool Create(const QImage& bitmap, int columns, int count, int width, int height, int spacing = 0,
              QRgb transparent = kCyan);

  // Draws image `index` with its top-left corner at (x, y); nothing for an index
  // outside the list.
  void Draw(QPainter& painter, int index, int x, int y) const;

  int Count() const { return count_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The source rectangle of image `index` in the bitmap.
  QRect SourceRect(int index) const;

 private:
  QImage bitmap_;
  int columns_ = 1;
  int count_ = 0;
  int width_ = 0;
  int height_ = 0;
  int spacing_ = 0;
};

}  // namespace ui
