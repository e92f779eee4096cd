#include "dialogs/photos/PhotoCommands.h"

#include "model/CWinBlogStorage.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "service/ServiceErrors.h"
#include "ui/CChildView.h"
#include "ui/CImageWnd.h"
#include "ui/CommandIds.h"
#include "ui/MessageBox.h"

namespace dialogs {

ui::CommandTable PhotoCommands::Table() {
  return {
      ui::CommandRow::One(ui::commands::kPurgePhoto, ui::acts::ViewerOpen,
                          [](const ui::CommandContext& ctx) {
                            if (ui::MessageBox::Ask(platform::LoadString(platform::strings::kPurgePhotoQuestion),
                                                    true) != ui::MessageBox::kYes) {
                              return;
                            }
                            // The file goes once the database no longer names it.
                            ctx.blog->DeletePhotoAtSave(*ctx.entry);
                            ctx.blog->Save();
                            service::ServiceErrors::ShowUnreported(ctx.blog->PhotoDeletionResult());
                            ctx.view.Viewer()->Redisplay();
                          }),
  };
}

}  // namespace dialogs
