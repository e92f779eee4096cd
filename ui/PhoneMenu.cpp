#include "ui/PhoneMenu.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "ui/DisplayScale.h"
#include "ui/MenuBuilder.h"
#include "ui/PhoneScreen.h"
#include "ui/UiTrace.h"

namespace ui {

// Covers the whole phone screen under an open menu: a click anywhere outside the
// menu closes it instead of reaching the window below.
class PhoneMenu::Shield : public QWidget {
 public:
  explicit Shield(PhoneScreen& screen) : QWidget(&screen) {
    setGeometry(screen.rect());
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    show();
    raise();
  }
  PhoneMenu* root = nullptr;

 protected:
  void paintEvent(QPaintEvent*) override {}
  // The whole click is the shield's: the menu closes on the release, so that
  // no half of the click reaches the window below.
  void mousePressEvent(QMouseEvent* event) override { event->accept(); }
  void mouseReleaseEvent(QMouseEvent* event) override {
    event->accept();
    if (root) root->Dismiss();
  }
};

namespace {

const QColor kHighlight(18, 60, 160);
const QColor kBorder(40, 48, 64);

}  // namespace

PhoneMenu* PhoneMenu::Open(PhoneScreen& screen, QMenu& menu, bool onLeft) {
  auto* shield = new Shield(screen);
  auto* root = new PhoneMenu(screen, menu, nullptr, shield);
  shield->root = root;
  root->Place(screen.SoftKeyRect(), onLeft);
  screen.PushLayer(root);
  root->show();
  root->raise();
  root->setFocus(Qt::PopupFocusReason);
  root->MoveHighlight(1);
  return root;
}

PhoneMenu::PhoneMenu(PhoneScreen& screen, QMenu& menu, PhoneMenu* parentMenu, Shield* shield)
    : QWidget(&screen), screen_(screen), menu_(menu), parentMenu_(parentMenu), shield_(shield) {
  setObjectName(QStringLiteral("phoneMenu"));
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  for (QAction* action : menu.actions()) {
    if (action->isVisible()) items_.push_back(action);
  }
}

PhoneMenu::~PhoneMenu() {
  delete sub_;
  if (!parentMenu_) delete shield_;
  screen_.PopLayer(this);
}

QAction* PhoneMenu::Highlighted() const {
  return highlight_ >= 0 && highlight_ < static_cast<int>(items_.size()) ? items_[highlight_] : nullptr;
}

int PhoneMenu::ItemHeight() const { return fontMetrics().height() + DisplayScale::Down(4); }

int PhoneMenu::SeparatorHeight() const { return std::max(3, DisplayScale::Down(5)); }

void PhoneMenu::Place(const QRect& anchor, bool onLeft) {
  const QFontMetrics metrics = fontMetrics();
  const int pad = DisplayScale::Across(4);
  const int marks = DisplayScale::Across(14);
  int textWidth = 0;
  contentHeight_ = 0;
  for (QAction* action : items_) {
    contentHeight_ += action->isSeparator() ? SeparatorHeight() : ItemHeight();
    textWidth = std::max(textWidth, metrics.horizontalAdvance(action->text()));
  }
  const QRect work = screen_.WorkRect();
  // A little room beyond the measured text, so that no label is cut by rounding.
  const int width = std::min(screen_.width(), textWidth + 2 * marks + 3 * pad + 2);
  const int height = std::min(work.height(), contentHeight_ + 2);
  int x = 0;
  int y = 0;
  if (!parentMenu_) {
    // Above the soft keys, at the side of the key that opened it.
    x = onLeft ? 0 : screen_.width() - width;
    y = anchor.top() - height;
  } else {
    // Beside the item of the parent menu, towards the middle of the screen.
    const int overlap = DisplayScale::Across(16);
    x = onLeft ? anchor.right() + 1 - overlap : anchor.left() - width + overlap;
    y = anchor.top() - 1;
  }
  x = std::clamp(x, 0, screen_.width() - width);
  y = std::clamp(y, work.top(), screen_.SoftKeyRect().top() - height);
  setGeometry(x, y, width, height);
}

QRect PhoneMenu::ItemRect(int index) const {
  int top = 1 - scroll_;
  for (int i = 0; i < index; ++i) top += items_[i]->isSeparator() ? SeparatorHeight() : ItemHeight();
  const int height = items_[index]->isSeparator() ? SeparatorHeight() : ItemHeight();
  return QRect(1, top, width() - 2, height);
}

int PhoneMenu::ItemAt(QPoint point) const {
  for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
    if (ItemRect(i).contains(point)) return i;
  }
  return -1;
}

bool PhoneMenu::Selectable(int index) const {
  if (index < 0 || index >= static_cast<int>(items_.size())) return false;
  const QAction* action = items_[index];
  return !action->isSeparator() && action->isEnabled();
}

void PhoneMenu::MoveHighlight(int step) {
  const int count = static_cast<int>(items_.size());
  if (count == 0) return;
  int index = highlight_;
  for (int tries = 0; tries < count; ++tries) {
    index = index < 0 ? (step > 0 ? 0 : count - 1) : (index + step + count) % count;
    if (Selectable(index)) {
      SetHighlight(index);
      return;
    }
  }
}

void PhoneMenu::SetHighlight(int index) {
  if (index == highlight_) return;
  highlight_ = index;
  ScrollToHighlight();
  update();
  if (QAction* lit = Highlighted()) UiTrace::Write(QStringLiteral("lit"), lit->text());
}

void PhoneMenu::ScrollToHighlight() {
  if (highlight_ < 0) return;
  const QRect item = ItemRect(highlight_);
  const int visible = height() - 2;
  if (item.top() < 1) scroll_ -= 1 - item.top();
  if (item.bottom() > visible) scroll_ += item.bottom() - visible;
  scroll_ = std::clamp(scroll_, 0, std::max(0, contentHeight_ - visible));
}

void PhoneMenu::Activate(int index) {
  if (!Selectable(index)) return;
  QAction* action = items_[index];
  if (action->menu()) {
    OpenSubMenu(index);
    return;
  }
  Root()->Finish(MenuBuilder::CommandOf(action));
}

void PhoneMenu::OpenSubMenu(int index) {
  CloseSubMenu();
  QMenu* menu = items_[index]->menu();
  if (!menu) return;
  SetHighlight(index);
  const QRect item = ItemRect(index).translated(pos());
  sub_ = new PhoneMenu(screen_, *menu, this, shield_);
  sub_->Place(item, x() + width() / 2 < screen_.width() / 2);
  screen_.PushLayer(sub_);
  sub_->show();
  sub_->raise();
  sub_->setFocus(Qt::PopupFocusReason);
  // The check mark shows the current choice: the highlight starts there.
  const int checked = MenuBuilder::CheckedPosition(*menu);
  if (sub_->Selectable(checked)) {
    sub_->SetHighlight(checked);
  } else {
    sub_->MoveHighlight(1);
  }
}

void PhoneMenu::CloseSubMenu() {
  if (!sub_) return;
  delete sub_.data();
}

PhoneMenu* PhoneMenu::Root() { return parentMenu_ ? parentMenu_->Root() : this; }

void PhoneMenu::Dismiss() { Root()->Finish(0); }

void PhoneMenu::Finish(uint32_t command) {
  if (!isVisible()) return;
  CloseSubMenu();
  hide();
  // The shield may be the one handling the click that ends the menu.
  shield_->hide();
  shield_->deleteLater();
  shield_ = nullptr;
  // The keys go back to the window below before the command runs.
  screen_.PopLayer(this);
  deleteLater();
  if (command != 0) emit Chosen(command);
}

void PhoneMenu::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kBorder);
  painter.fillRect(rect().adjusted(1, 1, -1, -1), Qt::white);
  painter.setClipRect(rect().adjusted(1, 1, -1, -1));
  const int pad = DisplayScale::Across(4);
  const int marks = DisplayScale::Across(14);
  for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
    const QRect item = ItemRect(i);
    if (item.bottom() < 0 || item.top() > height()) continue;
    const QAction* action = items_[i];
    if (action->isSeparator()) {
      painter.fillRect(QRect(item.left() + pad, item.center().y(), item.width() - 2 * pad, 1), QColor(160, 160, 160));
      continue;
    }
    const bool lit = i == highlight_;
    if (lit) painter.fillRect(item, kHighlight);
    painter.setPen(!action->isEnabled() ? QColor(150, 150, 150) : lit ? Qt::white : Qt::black);
    if (action->isChecked()) {
      // A check mark in the left column.
      const int size = std::min(marks, item.height()) / 2;
      const QPoint c(item.left() + pad + marks / 2 - 1, item.center().y());
      QPen pen = painter.pen();
      pen.setWidth(std::max(1, DisplayScale::Across(2)));
      painter.setPen(pen);
      painter.drawLine(c + QPoint(-size / 2, 0), c + QPoint(-size / 6, size / 2));
      painter.drawLine(c + QPoint(-size / 6, size / 2), c + QPoint(size / 2, -size / 2));
      pen.setWidth(1);
      painter.setPen(pen);
    }
    const QRect text(item.left() + pad + marks, item.top(), item.width() - 2 * pad - 2 * marks, item.height());
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     fontMetrics().elidedText(action->text(), Qt::ElideRight, text.width()));
    if (action->menu()) {
      // A small arrow in the right column points at the sub-menu.
      const int size = std::max(3, item.height() / 4);
      const int ax = item.right() - pad - marks / 2;
      const int ay = item.center().y();
      const QPolygon arrow({QPoint(ax - size / 2, ay - size), QPoint(ax + size / 2, ay), QPoint(ax - size / 2, ay + size)});
      painter.setBrush(painter.pen().color());
      painter.drawPolygon(arrow);
      painter.setBrush(Qt::NoBrush);
    }
  }
}

void PhoneMenu::keyPressEvent(QKeyEvent* event) {
  event->accept();
  switch (event->key()) {
    case Qt::Key_Up: MoveHighlight(-1); break;
    case Qt::Key_Down: MoveHighlight(1); break;
    case Qt::Key_Right:
      if (Highlighted() && Highlighted()->menu()) OpenSubMenu(highlight_);
      break;
    case Qt::Key_Left:
      if (parentMenu_) parentMenu_->CloseSubMenu();
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (!event->isAutoRepeat()) Activate(highlight_);
      break;
    case Qt::Key_Escape:
      // Back acts when it is released, so that its release reaches nothing below.
      if (!event->isAutoRepeat()) backDown_ = true;
      break;
    default: break;
  }
}

void PhoneMenu::keyReleaseEvent(QKeyEvent* event) {
  event->accept();
  if (event->key() != Qt::Key_Escape || event->isAutoRepeat() || !backDown_) return;
  backDown_ = false;
  if (parentMenu_) {
    parentMenu_->CloseSubMenu();
  } else {
    Finish(0);
  }
}

void PhoneMenu::mousePressEvent(QMouseEvent* event) {
  event->accept();
  const int index = ItemAt(event->position().toPoint());
  if (index < 0) return;
  if (sub_ && index != highlight_) CloseSubMenu();
  if (!Selectable(index)) return;
  SetHighlight(index);
  if (items_[index]->menu() && !sub_) OpenSubMenu(index);
}

void PhoneMenu::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  const int index = ItemAt(event->position().toPoint());
  if (index >= 0 && index == highlight_ && Selectable(index) && !items_[index]->menu()) Activate(index);
}

}  // namespace ui
