#pragma once

#include <QListWidget>

namespace model {
class CWinBlogComment;
}

namespace dialogs {

// The list of the Comments screen: one item per comment, its text word-wrapped
// to the list's width in an item of its own height. The selected item is
// filled with the highlight colour, the others white.
class CCommentsListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit CCommentsListBox(QWidget* parent);

  void AddComment(const QString& text, const model::CWinBlogComment* comment);
  const model::CWinBlogComment* CommentAt(int row) const;
  // The comment of the selected item, or none.
  const model::CWinBlogComment* SelectedComment() const;

  // The height of `text` wrapped to `width`.
  int TextHeight(const QString& text, int width) const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
};

}  // namespace dialogs
