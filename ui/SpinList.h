#pragma once

#include <QComboBox>
#include <cstdint>

namespace ui {

// The phone's spin list: one item shown at a time, Left and Right (or a click,
// or the wheel) step through the items without leaving the list; Up and Down
// belong to the screen, which moves between its fields. Each item carries a
// number (a code, an index) as its data.
class SpinList : public QComboBox {
  Q_OBJECT

 public:
  explicit SpinList(QWidget* parent = nullptr);

  void AddItem(const QString& text, uint32_t data);
  uint32_t CurrentData() const;
  // The shown item's data; false when no item is shown.
  bool SelectedData(uint32_t& data) const;
  // Selects the item whose data is `data`; answers false, changing nothing,
  // when there is none.
  bool SelectData(uint32_t data);
  // One item on, or back (wrapping round).
  void Step(int step);

  // The phone has no drop-down: a click steps to the next item.
  void showPopup() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace ui
