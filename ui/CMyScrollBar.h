#pragma once

#include <QScrollBar>

namespace ui {

// The grid's vertical scroll bar: a standard one that never takes the keyboard
// focus, so the grid keeps its keys while the pen works the bar.
class CMyScrollBar : public QScrollBar {
  Q_OBJECT

 public:
  static constexpr int kChildId = 100;

  explicit CMyScrollBar(QWidget* parent);
};

}  // namespace ui
