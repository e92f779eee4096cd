#include "dialogs/account/AccountCommands.h"

#include "dialogs/account/CAccountInfoDlg.h"
#include "ui/CommandIds.h"

namespace dialogs {

ui::CommandTable AccountCommands::Table() {
  return {
      ui::CommandRow::One(ui::commands::kAccountInfo, ui::acts::Always,
                          [](const ui::CommandContext& ctx) {
                            CAccountInfoDlg dialog(ctx.screen, ctx.owner, ctx.user);
                            dialog.DoModal();
                          }),
  };
}

}  // namespace dialogs
