#include "ui/SoftKeyBar.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include "platform/StringTable.h"
#include "ui/DisplayScale.h"
#include "ui/MenuBuilder.h"
#include "ui/PhoneMenu.h"
#include "ui/PhoneScreen.h"
#include "ui/QtText.h"

namespace ui {
namespace {

const MenuResource kNoKeys{};

QString KeyLabel(const SoftKeyResource& key) {
  return key.label ? Label(key.label) : QString();
}

}  // namespace

SoftKeyBar::SoftKeyBar(PhoneScreen& screen, uint32_t resourceId)
    : QWidget(&screen), screen_(screen), resourceId_(resourceId) {
  resource_ = MenuResource::Find(resourceId);
  if (!resource_) resource_ = &kNoKeys;
  setGeometry(screen.SoftKeyRect());
  setFocusPolicy(Qt::NoFocus);
  auto makeMenu = [this](const SoftKeyResource& key) -> QMenu* {
    if (key.menu.empty()) return nullptr;
    auto* menu = new QMenu(this);
    MenuBuilder::Fill(*menu, key.menu);
    return menu;
  };
  leftMenu_ = makeMenu(resource_->left);
  rightMenu_ = makeMenu(resource_->right);
  screen.RegisterBar(this);
}

SoftKeyBar::~SoftKeyBar() {
  delete openMenu_.data();  // it shows this bar's menus
  screen_.UnregisterBar(this);
}

QString SoftKeyBar::LeftLabel() const { return KeyLabel(resource_->left); }
QString SoftKeyBar::RightLabel() const { return KeyLabel(resource_->right); }

void SoftKeyBar::SetCommandFilter(std::function<bool(uint32_t)> canAct) { canAct_ = std::move(canAct); }

void SoftKeyBar::PressLeft() { PressKey(resource_->left, leftMenu_); }
void SoftKeyBar::PressRight() { PressKey(resource_->right, rightMenu_); }

void SoftKeyBar::PressKey(const SoftKeyResource& key, QMenu* menu) {
  if (PhoneMenu* open = OpenMenu()) {
    // Either key closes the open menu, as on the phone.
    open->Dismiss();
    return;
  }
  if (!isEnabled() || key.label == 0) return;
  if (!menu) {
    if (key.command && (!canAct_ || canAct_(key.command))) emit CommandChosen(key.command);
    return;
  }
  UpdateEnabled(menu);
  openMenu_ = PhoneMenu::Open(screen_, *menu, menu == leftMenu_);
  connect(openMenu_, &PhoneMenu::Chosen, this, &SoftKeyBar::CommandChosen);
}

void SoftKeyBar::UpdateEnabled(QMenu* menu) {
  for (QAction* action : menu->actions()) {
    if (QMenu* sub = action->menu()) {
      UpdateEnabled(sub);
    } else if (uint32_t command = MenuBuilder::CommandOf(action)) {
      action->setEnabled(!canAct_ || canAct_(command));
    }
  }
}

void SoftKeyBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QLinearGradient shade(0, 0, 0, height());
  shade.setColorAt(0, QColor(72, 84, 104));
  shade.setColorAt(1, QColor(28, 34, 46));
  painter.fillRect(rect(), shade);
  painter.setPen(QColor(20, 24, 32));
  painter.drawLine(0, 0, width(), 0);
  painter.setPen(QColor(120, 132, 152));
  const int middle = width() / 2;
  painter.drawLine(middle, 4, middle, height() - 4);
  QFont font = painter.font();
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(isEnabled() ? Qt::white : QColor(140, 140, 140));
  const int pad = DisplayScale::Across(6);
  painter.drawText(QRect(pad, 0, middle - 2 * pad, height()), Qt::AlignLeft | Qt::AlignVCenter, LeftLabel());
  painter.drawText(QRect(middle + pad, 0, middle - 2 * pad, height()), Qt::AlignRight | Qt::AlignVCenter,
                   RightLabel());
}

void SoftKeyBar::mousePressEvent(QMouseEvent* event) {
  // Taken here so that the release comes here too.
  event->accept();
}

void SoftKeyBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) return;
  if (event->position().x() < width() / 2) {
    PressLeft();
  } else {
    PressRight();
  }
}

void SoftKeyBar::showEvent(QShowEvent* event) {
  raise();
  screen_.BarShown(this);
  QWidget::showEvent(event);
}

}  // namespace ui
