#pragma once

#include <QComboBox>
#include <cstdint>

namespace ui {

// A phone's spin list: one line with the chosen item, Left and Right step
// through the items (Up and Down stay with the screen, which moves between its
// fields). Each item carries a number as its data: a code or an id.
class CSpinList : public QComboBox {
  Q_OBJECT

 public:
  explicit CSpinList(QWidget* parent);

  void AddItem(const QString& text, uint32_t data);
  // Chooses the first item whose data is `data`; no item is chosen when none has
  // it. Answers whether one was found.
  bool SelectData(uint32_t data);
  // The chosen item's data; false when no item is chosen.
  bool SelectedData(uint32_t& data) const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace ui
