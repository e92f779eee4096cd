#pragma once

#include <QRect>
#include <cstdint>
#include <string_view>
#include <vector>

class QPainter;

namespace ui {

// Draws JPEG pictures (entry thumbnails in memory, photo files on the device)
// through the image layer. Each answers the image layer's result code and sets
// `covered` to the area the picture took (empty when nothing was drawn).
class JpegPainter {
 public:
  static int32_t DrawBytes(QPainter& painter, const std::vector<uint8_t>& jpeg, const QRect& target,
                           uint32_t options, QRect& covered);
  static int32_t DrawFile(QPainter& painter, std::string_view phonePath, const QRect& target, uint32_t options,
                          QRect& covered);
};

}  // namespace ui
