#include "ui/MenuBuilder.h"

#include "platform/StringTable.h"
#include "ui/QtText.h"

namespace ui {

void MenuBuilder::Fill(QMenu& menu, const std::vector<MenuItemResource>& items) {
  for (const MenuItemResource& item : items) {
    QString label = Label(item.label);
    if (item.IsSeparator()) {
      menu.addSeparator();
    } else if (item.IsSubMenu()) {
      QMenu* sub = menu.addMenu(label);
      Fill(*sub, item.items);
    } else {
      NewAction(menu, item.command, label);
    }
  }
}

QAction* MenuBuilder::NewAction(QMenu& menu, uint32_t command, const QString& label) {
  return InsertAction(menu, static_cast<int>(menu.actions().size()), command, label);
}

QAction* MenuBuilder::InsertAction(QMenu& menu, int position, uint32_t command, const QString& label) {
  auto* action = new QAction(label, &menu);
  action->setData(QVariant::fromValue(command));
  const QList<QAction*> actions = menu.actions();
  menu.insertAction(position >= 0 && position < actions.size() ? actions[position] : nullptr, action);
  return action;
}

uint32_t MenuBuilder::CommandOf(const QAction* action) {
  return action && action->data().isValid() ? action->data().toUInt() : 0;
}

QAction* MenuBuilder::FindCommand(const QMenu& menu, uint32_t command) {
  for (QAction* action : menu.actions()) {
    if (CommandOf(action) == command) return action;
  }
  return nullptr;
}

QMenu* MenuBuilder::SubMenuAt(const QMenu& menu, int position) {
  const QList<QAction*> actions = menu.actions();
  if (position < 0 || position >= actions.size()) return nullptr;
  return actions[position]->menu();
}

void MenuBuilder::CheckPosition(QMenu& menu, int position) {
  const QList<QAction*> actions = menu.actions();
  for (int i = 0; i < actions.size(); ++i) {
    actions[i]->setCheckable(true);
    actions[i]->setChecked(i == position);
  }
}

int MenuBuilder::CheckedPosition(const QMenu& menu) {
  const QList<QAction*> actions = menu.actions();
  for (int i = 0; i < actions.size(); ++i) {
    if (actions[i]->isChecked()) return i;
  }
  return -1;
}

}  // namespace ui
