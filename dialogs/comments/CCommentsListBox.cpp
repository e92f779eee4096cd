#include "dialogs/comments/CCommentsListBox.h"

#include <QPainter>
#include <QResizeEvent>
#include <QStyledItemDelegate>

#include "ui/DisplayScale.h"

namespace dialogs {

namespace {

constexpr int kCommentRole = Qt::UserRole;

// Measures and draws the items: the text wrapped at word ends within a small
// margin.
class CommentDelegate : public QStyledItemDelegate {
 public:
  explicit CommentDelegate(CCommentsListBox& list) : QStyledItemDelegate(&list), list_(list) {}

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override {
    const int width = list_.viewport()->width();
    const QString text = index.data(Qt::DisplayRole).toString();
    return {width, list_.TextHeight(text, width - 2 * Margin()) + 2 * Margin()};
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& palette = list_.palette();
    painter->save();
    painter->fillRect(option.rect, selected ? palette.color(QPalette::Highlight) : QColor(Qt::white));
    painter->setPen(selected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text));
    painter->setFont(list_.font());
    painter->drawText(option.rect.adjusted(Margin(), Margin(), -Margin(), -Margin()), Qt::TextWordWrap,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
  }

 private:
  static int Margin() { return ui::DisplayScale::Down(2); }

  CCommentsListBox& list_;
};

}  // namespace

CCommentsListBox::CCommentsListBox(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new CommentDelegate(*this));
  setUniformItemSizes(false);
  setResizeMode(QListView::Adjust);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void CCommentsListBox::AddComment(const QString& text, const model::CWinBlogComment* comment) {
  auto* item = new QListWidgetItem(text, this);
  item->setData(kCommentRole, QVariant::fromValue(const_cast<void*>(static_cast<const void*>(comment))));
}

const model::CWinBlogComment* CCommentsListBox::CommentAt(int row) const {
  const QListWidgetItem* at = item(row);
  return at ? static_cast<const model::CWinBlogComment*>(at->data(kCommentRole).value<void*>()) : nullptr;
}

const model::CWinBlogComment* CCommentsListBox::SelectedComment() const {
  const QListWidgetItem* current = currentItem();
  return current && current->isSelected() ? CommentAt(currentRow()) : nullptr;
}

int CCommentsListBox::TextHeight(const QString& text, int width) const {
  return fontMetrics().boundingRect(QRect(0, 0, std::max(1, width), 1 << 20), Qt::TextWordWrap, text).height();
}

void CCommentsListBox::resizeEvent(QResizeEvent* event) {
  QListWidget::resizeEvent(event);
  // Heights follow the width the text wraps to.
  if (event->size().width() != event->oldSize().width()) doItemsLayout();
}

}  // namespace dialogs
