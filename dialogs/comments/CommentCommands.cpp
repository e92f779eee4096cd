#include "dialogs/comments/CommentCommands.h"

#include "model/CWinBlogStorage.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "ui/CommandIds.h"
#include "ui/MessageBox.h"

namespace dialogs {

ui::CommandTable CommentCommands::Table() {
  // The Comments screen is not part of the program yet: only the refusal for an
  // entry the service does not know acts.
  return {
      ui::CommandRow::One(
          ui::commands::kViewComments, [](const ui::CommandContext& ctx) { return ctx.entry && !ctx.entry->HasId(); },
          [](const ui::CommandContext&) {
            ui::MessageBox::Show(platform::LoadString(platform::strings::kSyncBeforeComment),
                                 ui::MessageBox::Icon::Exclamation);
          }),
  };
}

}  // namespace dialogs
