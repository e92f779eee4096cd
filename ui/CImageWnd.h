#pragma once

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "ui/CIconList.h"
#include "ui/SoftKeyBar.h"

namespace model {
class CWinBlogEntry;
class CWinBlogStorage;
}  // namespace model

namespace ui {

class PhoneScreen;

// The image viewer: one entry as a vertically scrolling page over the main view:
// the photo fitted to the width at the top, then the title, the author on group
// blogs, and the caption. It owns the viewer's soft-key bar (148).
class CImageWnd : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kChildId = 1000;

  CImageWnd(QWidget* parentView, PhoneScreen& screen);
  ~CImageWnd() override;

  // Forgets the photo and the scroll position, clears the entry's new mark (and
  // saves the blog when it changed), shows the viewer and its bar.
  void Open(model::CWinBlogStorage& blog, model::CWinBlogEntry& entry);
  // Another entry while open (previous/next), repainted at once.
  void ShowEntry(model::CWinBlogEntry& entry);
  // Draws the photo again (after a download or a purge).
  void Redisplay();
  void Close();
  void ScrollUp();
  void ScrollDown();

  model::CWinBlogEntry* Entry() const { return entry_; }
  SoftKeyBar* Bar() const { return bar_; }
  int ScrollPosition() const { return scroll_; }
  int LargestScrollPosition() const { return largestScroll_; }
  int PhotoHeight() const { return photoHeight_; }
  int LineHeight() const;
  void SetFonts(const QFont& regular, const QFont& bold);

  // Called after the viewer closed itself (pen release, command 1).
  void SetOnClosed(std::function<void()> onClosed) { onClosed_ = std::move(onClosed); }
  void OnCommand(uint32_t command);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void PaintPage(QPainter& painter);
  void MakePhotoSurface(const QRect& area);
  void Forget();
  void ScrollTo(int position);

  model::CWinBlogStorage* blog_ = nullptr;
  model::CWinBlogEntry* entry_ = nullptr;
  int scroll_ = 0;
  int largestScroll_ = 0;
  int photoHeight_ = -1;  // -1: not drawn yet for this entry
  QImage photo_;
  QFont regular_;
  QFont bold_;
  CIconList markers_;
  QPointer<SoftKeyBar> bar_;
  std::function<void()> onClosed_;
};

}  // namespace ui
