#pragma once

#include <QImage>
#include <cstdint>

namespace ui {

// The program's bitmaps by resource id (138 placeholder, 152 group badge, 157
// tick, 158/162 busy animation, 159 state icons, 160/161 viewer markers).
class BitmapResource {
 public:
  // The bitmap, or a null image for an unknown id.
  static QImage Load(uint32_t id);
  // The program icon.
  static QImage ProgramIcon();
};

}  // namespace ui
