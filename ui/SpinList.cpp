#include "ui/SpinList.h"

#include <QKeyEvent>

namespace ui {

SpinList::SpinList(QWidget* parent) : QComboBox(parent) {
  setFocusPolicy(Qt::StrongFocus);
  // A long name (a category, a font) must not widen the screen: the column gives the width.
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
}

void SpinList::AddItem(const QString& text, uint32_t data) { addItem(text, QVariant::fromValue(data)); }

uint32_t SpinList::CurrentData() const { return currentData().value<uint32_t>(); }

bool SpinList::SelectedData(uint32_t& data) const {
  if (currentIndex() < 0) return false;
  data = CurrentData();
  return true;
}

bool SpinList::SelectData(uint32_t data) {
  const int index = findData(QVariant::fromValue(data));
  if (index < 0) return false;
  setCurrentIndex(index);
  return true;
}

void SpinList::Step(int step) {
  const int n = count();
  if (n == 0) return;
  setCurrentIndex(((currentIndex() + step) % n + n) % n);
}

void SpinList::showPopup() { Step(1); }

void SpinList::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left: Step(-1); break;
    case Qt::Key_Right: Step(1); break;
    default: QComboBox::keyPressEvent(event); return;
  }
  event->accept();
}

}  // namespace ui
