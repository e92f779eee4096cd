#include "dialogs/entries/EntryCommands.h"

#include "dialogs/entries/CCaptionDlg.h"
#include "dialogs/entries/CCategorizeEntriesDlg.h"
#include "dialogs/entries/CDeleteEntriesDlg.h"
#include "dialogs/entries/CEditEntryDlg.h"
#include "dialogs/entries/PhotoEntries.h"
#include "model/CWinBlogStorage.h"
#include "service/ServiceErrors.h"
#include "ui/CChildView.h"
#include "ui/CImageWnd.h"
#include "ui/CommandIds.h"

namespace dialogs {

namespace {

namespace c = ui::commands;

// Saves the blog and tells of a photo file that could not be deleted.
void SaveAfterDeleting(model::CWinBlogStorage& blog) {
  blog.Save();
  service::ServiceErrors::ShowUnreported(blog.PhotoDeletionResult());
}

void Edit(const ui::CommandContext& ctx) {
  model::CWinBlogEntry& entry = *ctx.entry;
  const int result = PhotoEntries::EditEntry(ctx, entry);
  if (result == CEditEntryDlg::kDeleted) {
    ctx.view.CloseViewer();
    ctx.Refresh();
  } else if (result == CEditEntryDlg::kOk) {
    ctx.view.SelectEntry(entry);
    ctx.view.Viewer()->update();
  }
}

void DeleteEntry(const ui::CommandContext& ctx) {
  model::CWinBlogEntry* entry = ctx.entry;
  CDeleteEntriesDlg confirm(ctx.screen, ctx.owner, true, ctx.blog->IsEntryReadOnly(entry), !entry->HasId());
  if (confirm.DoModal() != CDeleteEntriesDlg::kOk) return;
  // The viewer lets go of the entry before it goes.
  ctx.view.CloseViewer();
  ctx.blog->DiscardEntry(entry, confirm.DeleteOnWeb(), confirm.DeletePhoto());
  SaveAfterDeleting(*ctx.blog);
  ctx.Refresh();
}

void DeleteEntries(const ui::CommandContext& ctx) {
  CDeleteEntriesDlg confirm(ctx.screen, ctx.owner, false, ctx.blog->IsEntryReadOnly(nullptr), false);
  if (confirm.DoModal() != CDeleteEntriesDlg::kOk) return;
  ctx.blog->DiscardShownEntries(confirm.DeleteOnWeb(), confirm.DeletePhoto());
  SaveAfterDeleting(*ctx.blog);
  ctx.Refresh();
}

void CategorizeEntries(const ui::CommandContext& ctx) {
  CCategorizeEntriesDlg dialog(ctx.screen, ctx.owner, *ctx.blog);
  if (dialog.DoModal() != CCategorizeEntriesDlg::kOk) return;
  ctx.blog->Save();
  ctx.Refresh();
}

}  // namespace

ui::CommandTable EntryCommands::Table() {
  return {
      ui::CommandRow::One(c::kCamera, ui::acts::BlogOpen, PhotoEntries::TakePhotos),
      ui::CommandRow::One(c::kAddPhoto, ui::acts::BlogOpen, PhotoEntries::AddPhotos),
      ui::CommandRow::One(c::kCategorizeEntries, ui::acts::BlogOpen, CategorizeEntries),
      ui::CommandRow::One(c::kDeleteEntries, ui::acts::BlogOpen, DeleteEntries),
      ui::CommandRow::One(c::kEditEntry, ui::acts::ViewerOpen, Edit),
      ui::CommandRow::One(c::kCaption, ui::acts::ViewerOpen,
                          [](const ui::CommandContext& ctx) {
                            CCaptionDlg dialog(ctx.screen, ctx.owner, *ctx.entry);
                            dialog.DoModal();
                          }),
      ui::CommandRow::One(c::kDeleteEntry, ui::acts::ViewerOpen, DeleteEntry),
  };
}

}  // namespace dialogs
