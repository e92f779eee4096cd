#include "ui/CMyScrollBar.h"

namespace ui {

CMyScrollBar::CMyScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
  setFocusPolicy(Qt::NoFocus);
  setObjectName(QStringLiteral("scrollbar%1").arg(kChildId));
  setSingleStep(1);
}

}  // namespace ui
