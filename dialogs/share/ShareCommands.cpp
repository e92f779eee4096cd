#include "dialogs/share/ShareCommands.h"

#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "ui/CommandIds.h"
#include "ui/MessageBox.h"

namespace dialogs {
namespace {

// A category made on the device has a temporary id until a sync.
bool IsLocalCategoryId(uint32_t id) { return id >= 0xFFFFFF00u && id != model::kAllCategories; }

// The message Send shows instead of its screen, or 0: the entry in the viewer,
// or else the category shown, is not on the service yet.
uint32_t SendRefusal(const ui::CommandContext& ctx) {
  if (!ctx.blog) return 0;
  if (ctx.entry) return ctx.entry->HasId() ? 0 : platform::strings::kSyncBeforeSend;
  return IsLocalCategoryId(ctx.blog->GetCategoryFilter()) ? platform::strings::kSyncBeforeSend : 0;
}

uint32_t PostRefusal(const ui::CommandContext& ctx) {
  if (!ctx.blog) return 0;
  if (ctx.user.RemoteBlogs().empty()) return platform::strings::kNoRemoteBlogs;
  return SendRefusal(ctx);
}

ui::CommandRow Refusal(uint32_t command, uint32_t (*refusal)(const ui::CommandContext&)) {
  // Their screens are not part of the program yet: only the refusals act.
  return ui::CommandRow::One(
      command, [refusal](const ui::CommandContext& ctx) { return refusal(ctx) != 0; },
      [refusal](const ui::CommandContext& ctx) {
        ui::MessageBox::Show(platform::LoadString(refusal(ctx)), ui::MessageBox::Icon::Exclamation);
      });
}

}  // namespace

ui::CommandTable ShareCommands::Table() {
  return {Refusal(ui::commands::kSendEmail, SendRefusal), Refusal(ui::commands::kPostRemote, PostRefusal)};
}

}  // namespace dialogs
