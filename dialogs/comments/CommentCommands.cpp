#include "dialogs/comments/CommentCommands.h"

#include "dialogs/comments/CCommentsDlg.h"
#include "model/CWinBlogStorage.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "ui/CommandIds.h"
#include "ui/MessageBox.h"

namespace dialogs {

namespace {

void ViewComments(const ui::CommandContext& ctx) {
  if (!ctx.entry->HasId()) {
    ui::MessageBox::Show(platform::LoadString(platform::strings::kSyncBeforeComment),
                         ui::MessageBox::Icon::Exclamation);
    return;
  }
  CCommentsDlg dialog(ctx.screen, ctx.owner, ctx.user, *ctx.blog, *ctx.entry);
  dialog.DoModal();
}

}  // namespace

ui::CommandTable CommentCommands::Table() {
  return {
      ui::CommandRow::One(
          ui::commands::kViewComments, [](const ui::CommandContext& ctx) { return ctx.entry && ctx.blog; }, ViewComments),
  };
}

}  // namespace dialogs
