#pragma once

#include <QColor>
#include <QRect>
#include <QWidget>
#include <cstdint>
#include <vector>

class QPainter;

namespace ui {

class CMyScrollBar;

// A scrolling grid of equal cells. Derived classes draw one cell and react to
// activation; the grid does the layout, scrolling, selection, keys and pen.
class CGridCtrl : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kStretch = -1;  // a cell size that takes the free space

  explicit CGridCtrl(QWidget* parent);
  ~CGridCtrl() override;

  virtual void CreateScrollBar(const QRect& grid);
  virtual void SetItemCount(int count);
  virtual int GetItemCount() const { return count_; }
  virtual void DrawItem(QPainter& painter, const QRect& cell, int index, bool selected) = 0;
  // Answers whether the cell must be redrawn.
  virtual bool ItemClicked(int index);
  virtual void ItemActivated(int index);
  virtual void DrawSelectionFrame(QPainter& painter, int left, int top, int right, int bottom);
  virtual void Show(bool show);
  virtual void Refresh();
  virtual void AfterClick(QPoint pen, int index);

  // Fixed cell size; columns and visible rows follow from the rectangle (an
  // empty rectangle means the client area).
  void LayoutByCellSize(const QRect& rect, int cellWidth, int cellHeight, int marginAcross, int marginDown,
                        int gapAcross, int gapDown);
  // Fixed rows and columns; the cell size follows from the rectangle.
  void LayoutByShape(const QRect& rect, int rows, int columns, int marginAcross, int marginDown, int gapAcross,
                     int gapDown);

  int Columns() const { return columns_; }
  int VisibleRows() const { return rows_; }
  int TopRow() const { return topRow_; }
  int CellWidth() const { return cellWidth_; }
  int CellHeight() const { return cellHeight_; }
  QRect GridRect() const { return grid_; }
  int LargestTopRow() const;
  bool ScrollBarShown() const;
  CMyScrollBar* ScrollBar() const { return scrollBar_; }
  int ScrollBarWidth() const;
  // The cell at visible (row, column).
  QRect CellRect(int row, int column) const;
  // The item under a point, or -1.
  int HitTest(QPoint point) const;
  bool IsVisible(int index) const;

  // Selects only `index`; when it is not visible and scrollIntoView is set, the
  // top row becomes its row, or with `forward` the row that puts it on the last
  // visible line, clamped to the largest top row.
  void Select(int index, bool scrollIntoView, bool forward = false);
  void ClearSelection(bool redraw);
  // The cursor in single mode: the selected index, or -1.
  int Selected() const { return selection_.empty() ? -1 : selection_.front(); }
  const std::vector<int>& Selection() const { return selection_; }
  bool IsSelected(int index) const;
  void SetMultiSelect(bool multi) { multiSelect_ = multi; }
  bool MultiSelect() const { return multiSelect_; }
  void SetHighlightColour(QColor colour) { highlight_ = colour; }
  QColor HighlightColour() const { return highlight_; }

  void SetTopRow(int row);
  void InvalidateGrid();
  void PageUp();
  void PageDown();
  void ScrollToTop();
  void ScrollToBottom();

  // Key and pen handling in phone terms; OnKeyDown answers whether it used the key.
  bool OnKeyDown(uint32_t key);
  void OnPenDown(QPoint point);
  void OnPenUp(QPoint point);
  void OnDoubleTap(QPoint point);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

  // Paints the visible cells (and the space between them) on `painter`.
  void PaintGrid(QPainter& painter);
  void RepaintItem(int index);
  // Re-runs the last layout (after a resize or a count change).
  void Relayout();
  void UpdateScrollBar();

 private:
  enum class Layout { None, CellSize, Shape };

  // The selection in the UI trace, for the tests that drive the program.
  void TraceSelection() const;

  void ApplyLayout();
  QRect LayoutRect() const;
  void MoveTo(int target, bool forward);

  int count_ = 0;
  int columns_ = 1;
  int rows_ = 1;
  int topRow_ = 0;
  QRect grid_;
  int marginAcross_ = 0;
  int marginDown_ = 0;
  int gapAcross_ = 0;
  int gapDown_ = 0;
  int cellWidth_ = kStretch;
  int cellHeight_ = kStretch;
  CMyScrollBar* scrollBar_ = nullptr;
  bool multiSelect_ = false;
  std::vector<int> selection_;
  QColor highlight_;

  Layout layout_ = Layout::None;
  QRect layoutRect_;  // empty: the client area
  int designCellWidth_ = kStretch;
  int designCellHeight_ = kStretch;
  int shapeRows_ = 1;
  int shapeColumns_ = 1;
  bool updatingScrollBar_ = false;
};

}  // namespace ui
