#pragma once

#include <QMenu>
#include <cstdint>
#include <vector>

#include "ui/MenuResource.h"

namespace ui {

// Soft-key menus as Qt menus: each action carries its command number as data.
class MenuBuilder {
 public:
  static void Fill(QMenu& menu, const std::vector<MenuItemResource>& items);
  static QAction* NewAction(QMenu& menu, uint32_t command, const QString& label);
  // Inserts before the item at `position`, or appends when there is none.
  static QAction* InsertAction(QMenu& menu, int position, uint32_t command, const QString& label);
  static uint32_t CommandOf(const QAction* action);
  static QAction* FindCommand(const QMenu& menu, uint32_t command);
  // The sub-menu whose item sits at `position` among the menu's actions.
  static QMenu* SubMenuAt(const QMenu& menu, int position);
  // Checks the item at `position` and clears the marks of the others.
  static void CheckPosition(QMenu& menu, int position);
  static int CheckedPosition(const QMenu& menu);
};

}  // namespace ui
