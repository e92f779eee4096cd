#include "ui/SoftKeyBar.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include "platform/StringTable.h"
#include "ui/DisplayScale.h"
#include "ui/MenuBuilder.h"
#include "ui/PhoneScreen.h"

namespace ui {
namespace {

const MenuResource kNoKeys{};

QString Label(const SoftKeyResource& key) {
  return key.label ? QString::fromStdString(platform::LoadString(key.label)) : QString();
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
  for (QMenu* menu : {leftMenu_.data(), rightMenu_.data()}) {
    if (!menu) continue;
    connect(menu, &QMenu::triggered, this, [this](QAction* action) {
      if (uint32_t command = MenuBuilder::CommandOf(action)) emit CommandChosen(command);
    });
  }
  screen.RegisterBar(this);
}

SoftKeyBar::~SoftKeyBar() { screen_.UnregisterBar(this); }

QString SoftKeyBar::LeftLabel() const { return Label(resource_->left); }
QString SoftKeyBar::RightLabel() const { return Label(resource_->right); }

void SoftKeyBar::SetCommandFilter(std::function<bool(uint32_t)> canAct) { canAct_ = std::move(canAct); }

void SoftKeyBar::PressLeft() { PressKey(resource_->left, leftMenu_); }
void SoftKeyBar::PressRight() { PressKey(resource_->right, rightMenu_); }

void SoftKeyBar::PressKey(const SoftKeyResource& key, QMenu* menu) {
  if (!isEnabled() || key.label == 0) return;
  if (!menu) {
    if (key.command && (!canAct_ || canAct_(key.command))) emit CommandChosen(key.command);
    return;
  }
  UpdateEnabled(menu);
  menu->adjustSize();
  const QSize size = menu->sizeHint();
  const bool onLeft = menu == leftMenu_;
  const QPoint corner(onLeft ? 0 : width() - size.width(), -size.height());
  menu->popup(mapToGlobal(corner));
  if (!menu->actions().isEmpty()) menu->setActiveAction(menu->actions().first());
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
