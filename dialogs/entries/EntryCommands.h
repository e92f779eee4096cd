#pragma once

#include "ui/CommandTable.h"

namespace dialogs {

// The commands that make, change and delete entries: Camera, Add Photo,
// Categorize Entries and Delete Entries in the blog view; Edit, Caption and
// Delete Entry in the viewer.
class EntryCommands {
 public:
  static ui::CommandTable Table();
};

}  // namespace dialogs
