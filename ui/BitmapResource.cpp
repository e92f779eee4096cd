#include "ui/BitmapResource.h"

namespace ui {

QImage BitmapResource::Load(uint32_t id) {
  return QImage(QStringLiteral(":/resources/bitmaps/%1.png").arg(id));
}

QImage BitmapResource::ProgramIcon() { return QImage(QStringLiteral(":/resources/bitmaps/icon.png")); }

}  // namespace ui
