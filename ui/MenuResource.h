#pragma once

#include <cstdint>
#include <vector>

namespace ui {

// One item of a soft-key menu: a command with a string-table label, a
// separator (command and label 0) or a sub-menu (items not empty).
struct MenuItemResource {
  uint32_t command = 0;
  uint32_t label = 0;
  std::vector<MenuItemResource> items;

  bool IsSeparator() const { return command == 0 && label == 0; }
  bool IsSubMenu() const { return !items.empty(); }
};

// A soft key: no key when label is 0; a key with a menu opens it, otherwise it
// sends its command.
struct SoftKeyResource {
  uint32_t label = 0;
  uint32_t command = 0;
  std::vector<MenuItemResource> menu;
};

// A soft-key bar as the menu resources define it.
struct MenuResource {
  uint32_t id = 0;
  SoftKeyResource left;
  SoftKeyResource right;

  // The bar with resource id `id`, or nullptr.
  static const MenuResource* Find(uint32_t id);
};

}  // namespace ui
