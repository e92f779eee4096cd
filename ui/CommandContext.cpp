#include "ui/CommandContext.h"

#include "model/CWinBlogUser.h"
#include "ui/CChildView.h"

namespace ui {

bool CommandContext::HasLogin() const { return !user.GetEmail().empty() && !user.GetPassword().empty(); }

void CommandContext::Refresh() const { view.RefreshView(); }

}  // namespace ui
