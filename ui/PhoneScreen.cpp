#include "ui/PhoneScreen.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <algorithm>

#include "ui/DisplayScale.h"
#include "ui/KeyCodes.h"
#include "ui/SoftKeyBar.h"
#include "ui/UiTrace.h"

namespace ui {
namespace {

PhoneScreen* g_current = nullptr;

}  // namespace

PhoneScreen::PhoneScreen(int width, int height)
    : trayHeight_(DisplayScale::Down(20)), barHeight_(DisplayScale::Down(26)), caption_("Tessary") {
  setFixedSize(width, height);
  // Text is sized in device pixels, like every other layout size.
  QFont text = font();
  text.setPixelSize(std::max(1, DisplayScale::Down(12)));
  setFont(text);
  setAttribute(Qt::WA_OpaquePaintEvent);
  qApp->installEventFilter(this);
  g_current = this;
}

PhoneScreen::~PhoneScreen() {
  if (g_current == this) g_current = nullptr;
  qApp->removeEventFilter(this);
  // Children (the bars among them) unregister from this screen as they go, so
  // they must go while the screen is still whole. Some delete others (a frame
  // its bar), hence the guarded pointers.
  std::vector<QPointer<QWidget>> children;
  for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) children.emplace_back(child);
  for (const QPointer<QWidget>& child : children) delete child.data();
}

QRect PhoneScreen::TrayRect() const { return QRect(0, 0, width(), trayHeight_); }

QRect PhoneScreen::SoftKeyRect() const { return QRect(0, height() - barHeight_, width(), barHeight_); }

QRect PhoneScreen::WorkRect() const {
  return QRect(0, trayHeight_, width(), height() - trayHeight_ - barHeight_);
}

void PhoneScreen::SetCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  update(TrayRect());
  emit CaptionChanged(caption_);
}

QWidget* PhoneScreen::MainWindowOf(QWidget* widget) const {
  QWidget* w = widget;
  while (w && w->parentWidget() != this) w = w->parentWidget();
  return w;
}

SoftKeyBar* PhoneScreen::TopBar() const {
  for (auto it = bars_.rbegin(); it != bars_.rend(); ++it) {
    if ((*it)->isVisible()) return *it;
  }
  return nullptr;
}

PhoneScreen* PhoneScreen::Current() { return g_current; }

void PhoneScreen::SetMainWindow(QWidget* window) { main_ = Layer{window, nullptr}; }

void PhoneScreen::PushLayer(QWidget* layer) {
  PopLayer(layer);
  Layer& below = layers_.empty() ? main_ : layers_.back();
  QWidget* focused = focusWidget();
  if (below.widget && focused && (focused == below.widget || below.widget->isAncestorOf(focused))) {
    below.focus = focused;
  }
  layers_.push_back(Layer{layer, nullptr});
  TraceTop();
}

void PhoneScreen::PopLayer(QWidget* layer) {
  const bool wasTop = !layers_.empty() && layers_.back().widget == layer;
  std::erase_if(layers_, [layer](const Layer& l) { return l.widget == layer || !l.widget; });
  if (wasTop) {
    RestoreFocus();
    TraceTop();
  }
}

void PhoneScreen::TraceTop() const {
  if (!UiTrace::Enabled()) return;
  QWidget* top = TopLayer();
  UiTrace::Write(QStringLiteral("top"), QStringLiteral("%1 %2").arg(top ? top->metaObject()->className() : "none", caption_));
}

QWidget* PhoneScreen::TopLayer() const { return layers_.empty() ? main_.widget.data() : layers_.back().widget.data(); }

void PhoneScreen::RestoreFocus() {
  const Layer& top = layers_.empty() ? main_ : layers_.back();
  if (!top.widget) return;
  QWidget* target = top.focus;
  if (!target || !target->isVisible() || !target->isEnabled()) target = top.widget;
  target->setFocus(Qt::OtherFocusReason);
}

void PhoneScreen::RegisterBar(SoftKeyBar* bar) { bars_.push_back(bar); }

void PhoneScreen::UnregisterBar(SoftKeyBar* bar) { std::erase(bars_, bar); }

void PhoneScreen::BarShown(SoftKeyBar* bar) {
  std::erase(bars_, bar);
  bars_.push_back(bar);
}

void PhoneScreen::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  const QRect tray = TrayRect();
  QLinearGradient shade(0, 0, 0, tray.height());
  shade.setColorAt(0, QColor(40, 70, 130));
  shade.setColorAt(1, QColor(18, 40, 92));
  painter.fillRect(tray, shade);
  QFont font = painter.font();
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  const int pad = DisplayScale::Across(4);
  painter.drawText(tray.adjusted(pad, 0, -pad, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   painter.fontMetrics().elidedText(caption_, Qt::ElideRight, tray.width() - 2 * pad));
}

bool PhoneScreen::eventFilter(QObject* watched, QEvent* event) {
  // A window that could not take the keys back while it was disabled takes
  // them when it is enabled again.
  if (event->type() == QEvent::EnabledChange && watched == TopLayer() && TopLayer()->isEnabled()) {
    QWidget* focused = focusWidget();
    if (!focused || !focused->isVisible() || !(focused == TopLayer() || TopLayer()->isAncestorOf(focused))) {
      RestoreFocus();
    }
    return false;
  }
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  const uint32_t code = PhoneKeyFromQt(key->key());
  if (code != kKeySoftLeft && code != kKeySoftRight) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || (widget != this && !isAncestorOf(widget))) return false;
  if (event->type() == QEvent::KeyPress && !key->isAutoRepeat()) {
    if (SoftKeyBar* bar = TopBar()) {
      if (code == kKeySoftLeft) {
        bar->PressLeft();
      } else {
        bar->PressRight();
      }
    }
  }
  return true;
}

}  // namespace ui
