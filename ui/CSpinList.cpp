#include "ui/CSpinList.h"

#include <QKeyEvent>

namespace ui {

CSpinList::CSpinList(QWidget* parent) : QComboBox(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
}

void CSpinList::AddItem(const QString& text, uint32_t data) { addItem(text, QVariant::fromValue(data)); }

bool CSpinList::SelectData(uint32_t data) {
  for (int i = 0; i < count(); ++i) {
    if (itemData(i).toUInt() == data) {
      setCurrentIndex(i);
      return true;
    }
  }
  setCurrentIndex(-1);
  return false;
}

bool CSpinList::SelectedData(uint32_t& data) const {
  if (currentIndex() < 0) return false;
  data = currentData().toUInt();
  return true;
}

void CSpinList::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
      if (currentIndex() > 0) setCurrentIndex(currentIndex() - 1);
      break;
    case Qt::Key_Right:
      if (currentIndex() < count() - 1) setCurrentIndex(currentIndex() + 1);
      break;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // The screen's keys: moving between fields and the left soft key.
      event->ignore();
      return;
    default: QComboBox::keyPressEvent(event); return;
  }
  event->accept();
}

}  // namespace ui
