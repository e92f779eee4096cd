#pragma once

#include "ui/CommandTable.h"

namespace dialogs {

// Edit Categories... (the blog view's Category menu): refused on a blog the
// user may not change, else the Edit Categories screen, then the Category menu
// is built again.
class CategoryCommands {
 public:
  static ui::CommandTable Table();
};

}  // namespace dialogs
