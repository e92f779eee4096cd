#include "dialogs/categories/CategoryCommands.h"

#include "dialogs/categories/CEditCategoriesDlg.h"
#include "model/CWinBlogStorage.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "ui/CChildView.h"
#include "ui/CommandIds.h"
#include "ui/MessageBox.h"

namespace dialogs {

ui::CommandTable CategoryCommands::Table() {
  return {
      ui::CommandRow::One(ui::commands::kEditCategories, ui::acts::BlogOpen,
                          [](const ui::CommandContext& ctx) {
                            if (ctx.blog->IsEntryReadOnly(nullptr)) {
                              ui::MessageBox::Show(platform::LoadString(platform::strings::kNoPermission),
                                                   ui::MessageBox::Icon::None);
                              return;
                            }
                            CEditCategoriesDlg dialog(ctx.screen, ctx.owner, *ctx.blog);
                            dialog.DoModal();
                            ctx.view.RebuildCategoryMenu();
                            ctx.Refresh();
                          }),
  };
}

}  // namespace dialogs
