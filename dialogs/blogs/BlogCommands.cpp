#include "dialogs/blogs/BlogCommands.h"

#include "dialogs/account/WelcomeFlow.h"
#include "ui/CommandIds.h"

namespace dialogs {
namespace {

bool NoLogin(const ui::CommandContext& ctx) { return !ctx.HasLogin(); }

void Welcome(const ui::CommandContext& ctx) {
  if (WelcomeFlow::Run(ctx.screen, ctx.owner, ctx.user, false)) ctx.Refresh();
}

}  // namespace

ui::CommandTable BlogCommands::Table() {
  return {
      ui::CommandRow::One(ui::commands::kSubscribe, NoLogin, Welcome),
      ui::CommandRow::One(ui::commands::kCreateBlog, NoLogin, Welcome),
  };
}

}  // namespace dialogs
