#include "ui/PhoneWindow.h"

#include <QApplication>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QScreen>
#include <QShortcut>
#include <algorithm>

#include "ui/PhoneScreen.h"

namespace ui {

PhoneWindow::PhoneWindow(PhoneScreen* screen, int zoom) : screen_(screen) {
  auto* scene = new QGraphicsScene(this);
  proxy_ = scene->addWidget(screen);
  // The screen is rendered once at device size and the cached picture is
  // scaled, so a zoomed window shows exactly the device's pixels.
  proxy_->setCacheMode(QGraphicsItem::ItemCoordinateCache, screen->size());
  scene->setSceneRect(0, 0, screen->width(), screen->height());
  setScene(scene);
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setWindowTitle(screen->Caption());
  connect(screen, &PhoneScreen::CaptionChanged, this, &QWidget::setWindowTitle);
  auto* zoomIn = new QShortcut(QKeySequence::ZoomIn, this);
  connect(zoomIn, &QShortcut::activated, this, [this] { SetZoom(zoom_ + 1); });
  // Ctrl+= as well: on most keyboards plus needs Shift.
  auto* zoomInEqual = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Equal), this);
  connect(zoomInEqual, &QShortcut::activated, this, [this] { SetZoom(zoom_ + 1); });
  auto* zoomOut = new QShortcut(QKeySequence::ZoomOut, this);
  connect(zoomOut, &QShortcut::activated, this, [this] { SetZoom(zoom_ - 1); });
  SetZoom(zoom);
  scene->setFocusItem(proxy_);
  qApp->installEventFilter(this);
}

PhoneWindow::~PhoneWindow() { qApp->removeEventFilter(this); }

bool PhoneWindow::eventFilter(QObject* watched, QEvent* event) {
  // The cached picture misses controls that appear or go while a window around
  // them changes: any such change redraws the whole screen.
  if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && widget != screen_ && screen_->isAncestorOf(widget)) proxy_->update();
  }
  return false;
}

int PhoneWindow::LargestZoom() const {
  const QScreen* desktop = screen();
  if (!desktop) return kMaxZoom;
  // Room for the window manager's title bar and frame around the phone.
  const QRect room = desktop->availableGeometry().adjusted(0, 0, -8, -40);
  const int across = room.width() / std::max(1, screen_->width());
  const int down = room.height() / std::max(1, screen_->height());
  return std::clamp(std::min(across, down), kMinZoom, kMaxZoom);
}

void PhoneWindow::SetZoom(int zoom) {
  zoom_ = std::clamp(zoom, kMinZoom, LargestZoom());
  setTransform(QTransform::fromScale(zoom_, zoom_));
  setFixedSize(screen_->width() * zoom_, screen_->height() * zoom_);
}

}  // namespace ui
