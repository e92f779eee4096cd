#include "ui/PhoneWindow.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
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
}

void PhoneWindow::SetZoom(int zoom) {
  zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
  setTransform(QTransform::fromScale(zoom_, zoom_));
  setFixedSize(screen_->width() * zoom_, screen_->height() * zoom_);
}

}  // namespace ui
