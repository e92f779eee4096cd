#pragma once

#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "ui/MenuResource.h"
#include "ui/PhoneMenu.h"


namespace ui {

class PhoneScreen;

// The soft-key bar at the bottom of the phone's screen: a left and a right key
// labelled from a menu resource. A key with a menu opens it as a phone menu above
// the bar (pressing the key again closes it); any other key sends its command.
// Clicks on either half press that key.
class SoftKeyBar : public QWidget {
  Q_OBJECT

 public:
  SoftKeyBar(PhoneScreen& screen, uint32_t resourceId);
  ~SoftKeyBar() override;

  uint32_t ResourceId() const { return resourceId_; }
  QString LeftLabel() const;
  QString RightLabel() const;
  // The menu of the right key (nullptr when it has none); owners may change it.
  QMenu* RightMenu() const { return rightMenu_; }

  // Asked before the menu opens whether a command can act now; items it refuses
  // are greyed out. Without it every item is enabled.
  void SetCommandFilter(std::function<bool(uint32_t)> canAct);

  void PressLeft();
  void PressRight();
  // The menu opened by a key, while it is open.
  PhoneMenu* OpenMenu() const { return openMenu_ && openMenu_->isVisible() ? openMenu_.data() : nullptr; }

 signals:
  void CommandChosen(uint32_t command);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void PressKey(const SoftKeyResource& key, QMenu* menu);
  void UpdateEnabled(QMenu* menu);

  PhoneScreen& screen_;
  uint32_t resourceId_;
  const MenuResource* resource_;
  QPointer<QMenu> leftMenu_;
  QPointer<QMenu> rightMenu_;
  std::function<bool(uint32_t)> canAct_;
  QPointer<PhoneMenu> openMenu_;
};

}  // namespace ui
