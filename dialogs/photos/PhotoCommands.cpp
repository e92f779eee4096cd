#include "dialogs/photos/PhotoCommands.h"

#include "dialogs/photos/CDownloadPhotoDlg.h"
#include "dialogs/photos/CMovePhotosDlg.h"
#include "dialogs/photos/CPurgePhotosDlg.h"
#include "model/CWinBlogStorage.h"
#include "platform/DeviceFileSystem.h"
#include "platform/ErrorCodes.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "service/BlogNetwork.h"
#include "service/ServiceErrors.h"
#include "ui/CChildView.h"
#include "ui/CImageWnd.h"
#include "ui/CProgressWnd.h"
#include "ui/CommandIds.h"
#include "ui/MessageBox.h"
#include "ui/NetworkStep.h"

namespace dialogs {
namespace {

namespace s = platform::strings;

void PurgePhotos(const ui::CommandContext& ctx) {
  CPurgePhotosDlg dialog(ctx.screen, ctx.owner);
  if (dialog.DoModal() != ui::CDialogScreen::kOk) return;
  ctx.blog->PurgeShownPhotos();
  ctx.blog->Save();
  service::ServiceErrors::ShowUnreported(ctx.blog->PhotoDeletionResult());
  ctx.Refresh();
}

// The message for a move that stopped on a failure, or 0 for none.
uint32_t MoveFailureMessage(uint32_t code) {
  switch (code) {
    case platform::kErrAccessDenied:
    case platform::kErrWriteProtect:
    case platform::kErrDriveLocked: return s::kWriteProtected;
    case platform::kErrNotEnoughMemory:
    case platform::kErrHandleDiskFull:
    case platform::kErrDiskFull: return s::kNoSpace;
    default: return 0;
  }
}

void MovePhotos(const ui::CommandContext& ctx) {
  std::vector<std::string> cards = model::CWinBlogStorage::StorageCards();
  if (cards.empty()) {
    ui::MessageBox::Show(platform::LoadString(s::kNoStorageCard), ui::MessageBox::Icon::Exclamation);
    return;
  }
  CMovePhotosDlg dialog(ctx.screen, ctx.owner, std::move(cards));
  if (dialog.DoModal() != ui::CDialogScreen::kOk) return;
  uint32_t code = 0;
  {
    ui::CProgressWnd progress(ctx.screen);
    if (!progress.Create(ctx.owner, 3, true)) return;
    progress.SetLine(0, s::kMovingPhotos);
    code = ctx.blog->MovePhotos(&progress, dialog.SourceRoot(), dialog.DestinationRoot());
    progress.Destroy();
  }
  if (const uint32_t message = MoveFailureMessage(code); message != 0) {
    ui::MessageBox::Show(platform::LoadString(message), ui::MessageBox::Icon::Error);
  }
  service::ServiceErrors::ShowUnreported(ctx.blog->PhotoDeletionResult());
  ctx.Refresh();
}

void DownloadPhoto(const ui::CommandContext& ctx) {
  model::CWinBlogEntry& entry = *ctx.entry;
  CDownloadPhotoDlg dialog(ctx.screen, ctx.owner, entry.GetPhotoSize());
  if (dialog.DoModal() != ui::CDialogScreen::kOk) return;
  const uint8_t size = dialog.Size();
  if (entry.GetPhotoSize() == size && !entry.photoPath.empty() &&
      platform::DeviceFileSystem::Current().Exists(entry.photoPath)) {
    ui::MessageBox::Show(platform::LoadString(s::kAlreadyHaveSize), ui::MessageBox::Icon::Information);
    return;
  }
  uint32_t code = 0;
  ui::NetworkStep::Run(ctx.screen, ctx.owner, 0, [&](ui::CProgressWnd& progress) {
    code = service::BlogNetwork::DownloadPhoto(*ctx.blog, &progress, entry, size);
  });
  if (code == 0) {
    ctx.blog->Save();
    code = ctx.blog->PhotoDeletionResult();
  }
  service::ServiceErrors::ShowUnreported(code);
  ctx.view.Viewer()->Redisplay();
}

void PurgePhoto(const ui::CommandContext& ctx) {
  if (ui::MessageBox::Ask(platform::LoadString(s::kPurgePhotoQuestion), true) != ui::MessageBox::kYes) return;
  // A pending entry keeps its photo: it has still to be sent. The file of a
  // published one goes once the database no longer names it.
  if (!ctx.entry->HasId()) return;
  ctx.blog->DeletePhotoAtSave(*ctx.entry);
  ctx.blog->Save();
  service::ServiceErrors::ShowUnreported(ctx.blog->PhotoDeletionResult());
  ctx.view.Viewer()->Redisplay();
}

}  // namespace

ui::CommandTable PhotoCommands::Table() {
  namespace c = ui::commands;
  return {
      ui::CommandRow::One(c::kPurgePhotos, ui::acts::BlogOpen, PurgePhotos),
      ui::CommandRow::One(c::kMovePhotos, ui::acts::BlogOpen, MovePhotos),
      ui::CommandRow::One(c::kDownloadPhoto, ui::acts::ViewerOpen, DownloadPhoto),
      ui::CommandRow::One(c::kPurgePhoto, ui::acts::ViewerOpen, PurgePhoto),
  };
}

}  // namespace dialogs
