#pragma once

#include "ui/CommandTable.h"

namespace ui {

// The view's own navigation: OK and Back out of the viewer and the blog, Home,
// the Show and Category filters, and previous/next entry in the viewer.
class ViewCommands {
 public:
  static CommandTable Table();
};

}  // namespace ui
