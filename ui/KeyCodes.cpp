#include "ui/KeyCodes.h"

#include <Qt>

namespace ui {

uint32_t PhoneKeyFromQt(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Escape: return kKeyBack;
    case Qt::Key_Return:
    case Qt::Key_Enter: return kKeyReturn;
    case Qt::Key_PageUp: return kKeyPageUp;
    case Qt::Key_PageDown: return kKeyPageDown;
    case Qt::Key_Left: return kKeyLeft;
    case Qt::Key_Up: return kKeyUp;
    case Qt::Key_Right: return kKeyRight;
    case Qt::Key_Down: return kKeyDown;
    case Qt::Key_F1: return kKeySoftLeft;
    case Qt::Key_F2: return kKeySoftRight;
    case Qt::Key_F6: return kKeyF6;
    default: return 0;
  }
}

}  // namespace ui
