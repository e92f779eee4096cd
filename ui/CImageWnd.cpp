#include "ui/CImageWnd.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "image/JpegDrawer.h"
#include "model/CWinBlogStorage.h"
#include "platform/DeviceFileSystem.h"
#include "platform/StringTable.h"
#include "ui/COffscreenDC.h"
#include "ui/CommandIds.h"
#include "ui/DisplayScale.h"
#include "ui/JpegPainter.h"
#include "ui/PhoneScreen.h"
#include "platform/StringIds.h"
#include "ui/QtText.h"

namespace ui {
CImageWnd::CImageWnd(QWidget* parentView, PhoneScreen& screen) : QWidget(parentView) {
  setObjectName(QStringLiteral("viewer%1").arg(kChildId));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  hide();
  regular_ = font();
  bold_ = regular_;
  bold_.setWeight(QFont::Bold);
  const bool large = screen.width() > 320 || screen.height() > 320;
  markers_.Create(large ? 161 : 160, 1, 4, large ? 32 : 16, large ? 32 : 16);
  bar_ = new SoftKeyBar(screen, 148);
  bar_->hide();
}

CImageWnd::~CImageWnd() { delete bar_; }

void CImageWnd::SetFonts(const QFont& regular, const QFont& bold) {
  regular_ = regular;
  bold_ = bold;
  update();
}

int CImageWnd::LineHeight() const { return QFontMetrics(regular_).height(); }

void CImageWnd::Forget() {
  photo_ = QImage();
  photoHeight_ = -1;
}

void CImageWnd::Open(model::CWinBlogStorage& blog, model::CWinBlogEntry& entry) {
  blog_ = &blog;
  ShowEntry(entry);
  show();
  raise();
  bar_->show();
}

void CImageWnd::ShowEntry(model::CWinBlogEntry& entry) {
  Forget();
  entry_ = &entry;
  scroll_ = 0;
  largestScroll_ = 0;
  if (entry.SetNew(false) && blog_) blog_->Save();
  if (isVisible()) repaint();
}

void CImageWnd::Redisplay() {
  Forget();
  update();
}

void CImageWnd::Close() {
  Forget();
  hide();
  bar_->hide();
}

void CImageWnd::ScrollTo(int position) {
  const int clamped = std::clamp(position, 0, largestScroll_);
  if (clamped == scroll_) return;
  scroll_ = clamped;
  update();
}

void CImageWnd::ScrollUp() { ScrollTo(scroll_ - LineHeight()); }
void CImageWnd::ScrollDown() { ScrollTo(scroll_ + LineHeight()); }

void CImageWnd::OnCommand(uint32_t command) {
  if (command != commands::kOk) return;
  Close();
  if (onClosed_) onClosed_();
}

void CImageWnd::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) OnCommand(commands::kOk);
}

void CImageWnd::MakePhotoSurface(const QRect& area) {
  photo_ = QImage(area.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  photo_.fill(Qt::white);
  QPainter painter(&photo_);
  const QRect target(QPoint(0, 0), area.size());
  QRect covered;
  const std::string& path = entry_->GetPhotoPath();
  if (!path.empty() && platform::DeviceFileSystem::Current().Exists(path) &&
      JpegPainter::DrawFile(painter, path, target, image::kDrawNoVerticalCentre, covered) == 0) {
    photoHeight_ = std::min(covered.top() + covered.height(), area.height());
    return;
  }
  // No photo on the device: the thumbnail at its own size in the middle.
  JpegPainter::DrawBytes(painter, entry_->GetThumbnail(), target, image::kDrawNaturalSize, covered);
  photoHeight_ = area.height();
}

void CImageWnd::PaintPage(QPainter& painter) {
  const QRect client = rect();
  const int lineHeight = LineHeight();
  const int s = DisplayScale::Across(20);
  const int t = DisplayScale::Down(20);
  const QRect area(client.left(), client.top(), client.width(), client.height() - lineHeight - 3);
  if (photoHeight_ < 0) MakePhotoSurface(area);
  if (scroll_ < photoHeight_) {
    painter.drawImage(QPoint(area.left(), area.top() - scroll_), photo_);
    if (entry_->HasNewComments()) markers_.Draw(painter, 0, client.right() + 1 - s, photoHeight_ - t - scroll_);
  }

  painter.setPen(Qt::black);
  int y = photoHeight_ - scroll_ + 3;
  auto block = [&](const QFont& font, const QString& text) {
    if (text.isEmpty()) return;
    painter.setFont(font);
    const QRect bounds(client.left(), y, client.width(), 1 << 20);
    const QRect used = painter.boundingRect(bounds, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
    painter.drawText(bounds, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
    y += used.height();
  };
  block(bold_, Text(entry_->GetTitle()));
  if (blog_ && blog_->Info().groupType == 1 && !entry_->GetAuthorName().empty()) {
    QString by = Label(platform::strings::kByAuthor);
    block(regular_, by.replace(QLatin1String("%s"), Text(entry_->GetAuthorName())));
  }
  block(regular_, Text(entry_->GetCaption()));
  y += 3;

  largestScroll_ = y + scroll_ - (client.top() + client.height());
  if (largestScroll_ < 4) largestScroll_ = 0;
  if (scroll_ > 0) markers_.Draw(painter, 2, client.right() + 1 - s, client.top() + DisplayScale::Down(3));
  if (scroll_ < largestScroll_) markers_.Draw(painter, 1, client.right() + 1 - s, client.bottom() + 1 - t);
}

void CImageWnd::paintEvent(QPaintEvent*) {
  if (!entry_) return;
  COffscreenDC surface(size());
  PaintPage(surface.Painter());
  QPainter painter(this);
  surface.CopyTo(painter);
}

}  // namespace ui
