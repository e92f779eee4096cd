#include "app/MainCommands.h"

#include "model/CWinBlogStorage.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "service/BlogNetwork.h"
#include "service/SyncRunner.h"
#include "ui/CChildView.h"
#include "ui/CProgressWnd.h"
#include "ui/CommandIds.h"
#include "ui/MessageBox.h"
#include "ui/NetworkStep.h"

namespace app {
namespace {

namespace c = ui::commands;

void SyncHome(const ui::CommandContext& ctx) {
  ui::NetworkStep::SyncAll(ctx.screen, ctx.owner, ctx.user);
  ctx.Refresh();
}

void SyncBlog(const ui::CommandContext& ctx) {
  const size_t before = ctx.blog->GetShownCount();
  {
    ui::CProgressWnd progress(ctx.screen);
    if (progress.Create(ctx.owner, 3, false)) {
      progress.SetLine(0, platform::strings::kSynchronizing);
      progress.show();
      service::SyncRunner::RunSync(ctx.user, *ctx.blog, &progress);
      progress.Destroy();
    }
  }
  ctx.view.BlogSynced(before);
}

void CheckForUpdates(const ui::CommandContext& ctx) {
  bool newer = false;
  bool download = false;
  uint32_t code = 0;
  const bool connected =
      ui::NetworkStep::Run(ctx.screen, ctx.owner, platform::strings::kCheckingVersion, [&](ui::CProgressWnd& progress) {
        // The check needs a database only for its preference hooks.
        model::CWinBlogStorage scratch;
        download = service::BlogNetwork::CheckForUpdates(ctx.blog ? *ctx.blog : scratch, &progress, newer, code);
      });
  // A download chosen in New Version Available has asked the program to quit.
  if (!download && connected && code == 0 && !newer) {
    ui::MessageBox::Show(platform::LoadString(platform::strings::kLatestVersion), ui::MessageBox::Icon::Information);
  }
}

}  // namespace

ui::CommandTable MainCommands::Table() {
  return {
      ui::CommandRow::One(c::kSyncHome, ui::acts::Always, SyncHome),
      ui::CommandRow::One(c::kSyncBlog, ui::acts::BlogOpen, SyncBlog),
      ui::CommandRow::One(c::kCheckForUpdates, ui::acts::Always, CheckForUpdates),
  };
}

}  // namespace app
