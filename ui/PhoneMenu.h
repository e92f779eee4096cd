#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <vector>

class QAction;
class QMenu;

namespace ui {

class PhoneScreen;

// A soft-key menu as the phone draws it, inside the phone's screen: a list
// above the soft-key bar at the side of its key, and each sub-menu beside its
// item, never outside the screen. The items are the actions of a QMenu (text,
// check mark, greyed or not, sub-menu, command number as data).
//
// Up and Down move between the items that can be chosen, Right or Enter opens a
// sub-menu, Left or Back closes it, Enter chooses; Back on the menu itself closes
// it. A click chooses an item or opens its sub-menu; a click outside the menu
// closes it. While it is open it holds the keys, and when it closes they go back
// to what had them before.
class PhoneMenu : public QWidget {
  Q_OBJECT

 public:
  // Opens `menu` above the soft keys at the left or right edge; the menu closes
  // and deletes itself when an item is chosen or it is dismissed.
  static PhoneMenu* Open(PhoneScreen& screen, QMenu& menu, bool onLeft);

  ~PhoneMenu() override;

  // The item under the highlight (nullptr when none), and the open sub-menu.
  QAction* Highlighted() const;
  PhoneMenu* SubMenu() const { return sub_; }
  // Closes the whole menu without a choice.
  void Dismiss();

 signals:
  // The command of the item chosen; emitted after the menu has closed.
  void Chosen(uint32_t command);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  class Shield;

  PhoneMenu(PhoneScreen& screen, QMenu& menu, PhoneMenu* parentMenu, Shield* shield);

  void Place(const QRect& anchor, bool onLeft);
  int ItemHeight() const;
  int SeparatorHeight() const;
  // The item rectangles in widget coordinates, scrolled.
  QRect ItemRect(int index) const;
  int ItemAt(QPoint point) const;
  bool Selectable(int index) const;
  void MoveHighlight(int step);
  void SetHighlight(int index);
  void ScrollToHighlight();
  void Activate(int index);
  void OpenSubMenu(int index);
  void CloseSubMenu();
  PhoneMenu* Root();
  void Finish(uint32_t command);

  PhoneScreen& screen_;
  QMenu& menu_;
  std::vector<QAction*> items_;
  PhoneMenu* parentMenu_;
  QPointer<PhoneMenu> sub_;
  Shield* shield_;
  int highlight_ = -1;
  int scroll_ = 0;      // pixels of the list above the top edge
  int contentHeight_ = 0;
  bool backDown_ = false;  // Back was pressed here: its release closes
};

}  // namespace ui
