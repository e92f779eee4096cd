#include "dialogs/share/ShareCommands.h"

#include "dialogs/share/CPhotoEmailDlg.h"
#include "dialogs/share/CPostRemoteEntryDlg.h"
#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "model/ShareSubject.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "ui/CommandIds.h"
#include "ui/MessageBox.h"

namespace dialogs {
namespace {

void Refuse(uint32_t message) {
  ui::MessageBox::Show(platform::LoadString(message), ui::MessageBox::Icon::Exclamation);
}

void SendEmail(const ui::CommandContext& ctx) {
  model::ShareSubject subject;
  if (const uint32_t refusal = model::ShareSubject::Of(*ctx.blog, ctx.entry, subject); refusal != 0) {
    Refuse(refusal);
    return;
  }
  CPhotoEmailDlg dialog(ctx.screen, ctx.owner, ctx.user, *ctx.blog, subject.categoryId, subject.entryId);
  dialog.DoModal();
}

void PostRemote(const ui::CommandContext& ctx) {
  if (ctx.user.RemoteBlogs().empty()) {
    Refuse(platform::strings::kNoRemoteBlogs);
    return;
  }
  model::ShareSubject subject;
  if (const uint32_t refusal = model::ShareSubject::Of(*ctx.blog, ctx.entry, subject); refusal != 0) {
    Refuse(refusal);
    return;
  }
  CPostRemoteEntryDlg dialog(ctx.screen, ctx.owner, ctx.user, *ctx.blog, std::move(subject));
  dialog.DoModal();
}

}  // namespace

ui::CommandTable ShareCommands::Table() {
  return {
      ui::CommandRow::One(ui::commands::kSendEmail, ui::acts::BlogOpen, SendEmail),
      ui::CommandRow::One(ui::commands::kPostRemote, ui::acts::BlogOpen, PostRemote),
  };
}

}  // namespace dialogs
