#include "ui/CGridCtrl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStringList>
#include <QStyle>
#include <algorithm>

#include "ui/COffscreenDC.h"
#include "ui/CMyScrollBar.h"
#include "ui/DisplayScale.h"
#include "ui/KeyCodes.h"
#include "ui/UiTrace.h"

namespace ui {

CGridCtrl::CGridCtrl(QWidget* parent) : QWidget(parent), highlight_(palette().color(QPalette::Highlight)) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

CGridCtrl::~CGridCtrl() = default;

void CGridCtrl::CreateScrollBar(const QRect& grid) {
  if (!scrollBar_) {
    scrollBar_ = new CMyScrollBar(this);
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
      if (!updatingScrollBar_) SetTopRow(value);
    });
  }
  const int width = ScrollBarWidth();
  scrollBar_->setGeometry(grid.x() + grid.width() - width, grid.y(), width, grid.height());
}

int CGridCtrl::ScrollBarWidth() const { return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this); }

void CGridCtrl::SetItemCount(int count) {
  count_ = std::max(0, count);
  selection_.erase(std::remove_if(selection_.begin(), selection_.end(), [this](int i) { return i >= count_; }),
                   selection_.end());
  Relayout();
}

bool CGridCtrl::ItemClicked(int) { return false; }
void CGridCtrl::ItemActivated(int) {}
void CGridCtrl::AfterClick(QPoint, int) {}

void CGridCtrl::DrawSelectionFrame(QPainter& painter, int left, int top, int right, int bottom) {
  const int side = DisplayScale::Across(3);
  painter.fillRect(QRect(left, top, right - left, 1), highlight_);
  painter.fillRect(QRect(left, bottom - 1, right - left, 1), highlight_);
  painter.fillRect(QRect(left, top + 1, side, bottom - top - 2), highlight_);
  painter.fillRect(QRect(right - side, top + 1, side, bottom - top - 2), highlight_);
}

void CGridCtrl::Show(bool show) {
  setVisible(show);
  if (show) InvalidateGrid();
}

void CGridCtrl::Refresh() {
  UpdateScrollBar();
  if (isVisible()) InvalidateGrid();
}

void CGridCtrl::LayoutByCellSize(const QRect& rect, int cellWidth, int cellHeight, int marginAcross,
                                 int marginDown, int gapAcross, int gapDown) {
  layout_ = Layout::CellSize;
  layoutRect_ = rect;
  designCellWidth_ = cellWidth;
  designCellHeight_ = cellHeight;
  marginAcross_ = marginAcross;
  marginDown_ = marginDown;
  gapAcross_ = gapAcross;
  gapDown_ = gapDown;
  Relayout();
}

void CGridCtrl::LayoutByShape(const QRect& rect, int rows, int columns, int marginAcross, int marginDown,
                              int gapAcross, int gapDown) {
  layout_ = Layout::Shape;
  layoutRect_ = rect;
  shapeRows_ = std::max(1, rows);
  shapeColumns_ = std::max(1, columns);
  marginAcross_ = marginAcross;
  marginDown_ = marginDown;
  gapAcross_ = gapAcross;
  gapDown_ = gapDown;
  Relayout();
}

QRect CGridCtrl::LayoutRect() const { return layoutRect_.isEmpty() ? rect() : layoutRect_; }

void CGridCtrl::ApplyLayout() {
  grid_ = LayoutRect();
  if (layout_ == Layout::CellSize) {
    cellWidth_ = designCellWidth_;
    cellHeight_ = designCellHeight_;
    columns_ = cellWidth_ == kStretch
                   ? 1
                   : std::max(1, (grid_.width() - 2 * marginAcross_) / std::max(1, cellWidth_ + gapAcross_));
    // A grid always has a row, however small the rectangle.
    rows_ = cellHeight_ == kStretch
                ? 1
                : std::max(1, (grid_.height() - 2 * marginDown_) / std::max(1, cellHeight_ + gapDown_));
  } else if (layout_ == Layout::Shape) {
    rows_ = shapeRows_;
    columns_ = shapeColumns_;
    const int bar = rows_ * columns_ < count_ ? ScrollBarWidth() : 0;
    cellWidth_ = std::max(1, (grid_.width() - 2 * marginAcross_ - bar - gapAcross_ * (columns_ - 1)) / columns_);
    cellHeight_ = std::max(1, (grid_.height() - 2 * marginDown_ - gapDown_ * (rows_ - 1)) / rows_);
  }
}

void CGridCtrl::Relayout() {
  ApplyLayout();
  CreateScrollBar(grid_);
  topRow_ = std::clamp(topRow_, 0, LargestTopRow());
  UpdateScrollBar();
  update();
}

int CGridCtrl::LargestTopRow() const {
  if (columns_ * rows_ - 1 >= count_) return 0;
  return std::max(0, (count_ + columns_ - 1) / columns_ - rows_);
}

bool CGridCtrl::ScrollBarShown() const { return LargestTopRow() > 0; }

void CGridCtrl::UpdateScrollBar() {
  if (!scrollBar_) return;
  updatingScrollBar_ = true;
  scrollBar_->setRange(0, LargestTopRow());
  scrollBar_->setPageStep(rows_);
  scrollBar_->setValue(topRow_);
  updatingScrollBar_ = false;
  // A bar made while the grid could not draw (the view is built before the
  // phone shows it) keeps that state after the grid can: make it draw again.
  if (updatesEnabled() && !scrollBar_->updatesEnabled()) scrollBar_->setUpdatesEnabled(true);
  scrollBar_->setVisible(ScrollBarShown());
}

QRect CGridCtrl::CellRect(int row, int column) const {
  const int bar = ScrollBarShown() ? ScrollBarWidth() : 0;
  int left = grid_.left() + marginAcross_ + column * (cellWidth_ + gapAcross_);
  int right = left + cellWidth_;
  if (cellWidth_ == kStretch) {
    left = grid_.left() + marginAcross_;
    right = grid_.left() + grid_.width() - bar;
  }
  int top = grid_.top() + marginDown_ + row * (cellHeight_ + gapDown_);
  int bottom = top + cellHeight_;
  if (cellHeight_ == kStretch) {
    top = grid_.top() + marginDown_;
    bottom = grid_.top() + grid_.height() - marginDown_;
  }
  return QRect(left, top, right - left, bottom - top);
}

int CGridCtrl::HitTest(QPoint point) const {
  for (int row = 0; row < rows_; ++row) {
    for (int column = 0; column < columns_; ++column) {
      const int index = (row + topRow_) * columns_ + column;
      if (index < count_ && CellRect(row, column).contains(point)) return index;
    }
  }
  return -1;
}

bool CGridCtrl::IsVisible(int index) const {
  return index >= topRow_ * columns_ && index < (topRow_ + rows_) * columns_ && index < count_;
}

bool CGridCtrl::IsSelected(int index) const {
  return std::find(selection_.begin(), selection_.end(), index) != selection_.end();
}

void CGridCtrl::Select(int index, bool scrollIntoView, bool forward) {
  if (index < 0 || index >= count_) return;
  if (scrollIntoView && !IsVisible(index)) {
    const int row = index / columns_;
    topRow_ = std::clamp(forward ? row - rows_ + 1 : row, 0, LargestTopRow());
    UpdateScrollBar();
  }
  selection_.assign(1, index);
  TraceSelection();
  update();
}

void CGridCtrl::TraceSelection() const {
  if (!UiTrace::Enabled()) return;
  QStringList items;
  for (int index : selection_) items << QString::number(index);
  UiTrace::Write(QStringLiteral("select"), items.join(QLatin1Char(',')));
}

void CGridCtrl::ClearSelection(bool redraw) {
  selection_.clear();
  TraceSelection();
  if (redraw) update();
}

void CGridCtrl::SetTopRow(int row) {
  const int top = std::clamp(row, 0, LargestTopRow());
  if (top == topRow_) return;
  topRow_ = top;
  UpdateScrollBar();
  update();
}

void CGridCtrl::InvalidateGrid() { update(); }
void CGridCtrl::PageUp() { SetTopRow(topRow_ - rows_); }
void CGridCtrl::PageDown() { SetTopRow(topRow_ + rows_); }
void CGridCtrl::ScrollToTop() { SetTopRow(0); }
void CGridCtrl::ScrollToBottom() { SetTopRow(LargestTopRow()); }

void CGridCtrl::RepaintItem(int index) {
  if (!IsVisible(index)) return;
  const int position = index - topRow_ * columns_;
  update(CellRect(position / columns_, position % columns_));
}

void CGridCtrl::MoveTo(int target, bool forward) {
  if (target < 0 || target >= count_) return;
  const int old = Selected();
  if (!IsVisible(target)) {
    Select(target, true, forward);
    return;
  }
  selection_.assign(1, target);
  TraceSelection();
  RepaintItem(old);
  RepaintItem(target);
}

bool CGridCtrl::OnKeyDown(uint32_t key) {
  if (selection_.empty() || multiSelect_) {
    switch (key) {
      case kKeyReturn: {
        const int first = topRow_ * columns_;
        if (first >= count_) return true;
        if (!multiSelect_) {
          Select(first, false);
        } else if (!IsSelected(first)) {
          selection_.push_back(first);
          TraceSelection();
          RepaintItem(first);
        }
        return true;
      }
      case kKeyUp:
      case kKeyPageUp: PageUp(); return true;
      case kKeyDown:
      case kKeyPageDown: PageDown(); return true;
      default: return false;
    }
  }
  const int s = Selected();
  switch (key) {
    case kKeyReturn: ItemActivated(s); return true;
    case kKeyLeft: MoveTo(s - 1, false); return true;
    case kKeyRight: MoveTo(s + 1, true); return true;
    case kKeyUp: MoveTo(s - columns_, false); return true;
    case kKeyDown: MoveTo(s + columns_, true); return true;
    case kKeyPageUp:
    case kKeyPageDown: return true;
    default: return false;
  }
}

void CGridCtrl::OnPenDown(QPoint point) {
  const int index = HitTest(point);
  if (index < 0) {
    ClearSelection(true);
    return;
  }
  if (multiSelect_) {
    if (IsSelected(index)) {
      selection_.erase(std::find(selection_.begin(), selection_.end(), index));
      TraceSelection();
    } else {
      selection_.push_back(index);
      TraceSelection();
    }
    RepaintItem(index);
    return;
  }
  const bool redraw = ItemClicked(index);
  const int old = Selected();
  if (old != index) {
    selection_.assign(1, index);
    TraceSelection();
    RepaintItem(old);
    RepaintItem(index);
  } else if (redraw) {
    RepaintItem(index);
  }
  AfterClick(point, index);
}

void CGridCtrl::OnPenUp(QPoint point) {
  const int index = HitTest(point);
  if (index < 0) return;
  if (!multiSelect_ && Selected() != index) {
    const int old = Selected();
    selection_.assign(1, index);
    TraceSelection();
    RepaintItem(old);
    RepaintItem(index);
  }
  ItemActivated(index);
}

void CGridCtrl::OnDoubleTap(QPoint point) {
  const int index = HitTest(point);
  if (index >= 0 && ItemClicked(index)) RepaintItem(index);
}

void CGridCtrl::PaintGrid(QPainter& painter) {
  painter.fillRect(rect(), Qt::white);
  for (int row = 0; row < rows_; ++row) {
    for (int column = 0; column < columns_; ++column) {
      const int index = (row + topRow_) * columns_ + column;
      if (index >= count_) return;
      const QRect cell = CellRect(row, column);
      painter.save();
      painter.setClipRect(cell);
      painter.fillRect(cell, Qt::white);
      DrawItem(painter, cell, index, IsSelected(index));
      painter.restore();
    }
  }
}

void CGridCtrl::paintEvent(QPaintEvent*) {
  COffscreenDC surface(size());
  PaintGrid(surface.Painter());
  QPainter painter(this);
  surface.CopyTo(painter);
}

void CGridCtrl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (layout_ != Layout::None) Relayout();
}

void CGridCtrl::keyPressEvent(QKeyEvent* event) {
  if (!OnKeyDown(PhoneKeyFromQt(event->key()))) QWidget::keyPressEvent(event);
}

void CGridCtrl::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) OnPenDown(event->position().toPoint());
}

void CGridCtrl::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) OnPenUp(event->position().toPoint());
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) OnDoubleTap(event->position().toPoint());
}

}  // namespace ui
