#include "dialogs/entries/PhotoEntries.h"

#include <memory>

#include "dialogs/entries/CEditEntryDlg.h"
#include "model/CWinBlogStorage.h"
#include "photo/CImageSelectDlg.h"
#include "photo/CameraLauncher.h"
#include "platform/Preferences.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "service/ServiceErrors.h"
#include "ui/CChildView.h"
#include "ui/CommandContext.h"
#include "ui/MessageBox.h"

namespace dialogs {

namespace s = platform::strings;

namespace {

bool RefusedReadOnly(const ui::CommandContext& ctx) {
  if (!ctx.blog->IsEntryReadOnly(nullptr, true)) return false;
  ui::MessageBox::Show(platform::LoadString(s::kNoPermission), ui::MessageBox::Icon::None);
  return true;
}

void NoCamera() {
  ui::MessageBox::Show(platform::LoadString(s::kNoSupportedCamera), ui::MessageBox::Icon::Exclamation);
}

}  // namespace

int PhotoEntries::EditEntry(const ui::CommandContext& ctx, model::CWinBlogEntry& entry) {
  CEditEntryDlg editor(ctx.screen, ctx.owner, ctx.user, *ctx.blog, entry, !entry.HasId());
  ui::CChildView& view = ctx.view;
  editor.SetCategoriesEdited([&view] { view.RebuildCategoryMenu(); });
  return editor.DoModal();
}

model::CWinBlogEntry* PhotoEntries::AddPhotoEntry(const ui::CommandContext& ctx, const std::string& path,
                                                  bool openEditor) {
  model::CWinBlogStorage& blog = *ctx.blog;
  auto made = std::make_unique<model::CWinBlogEntry>();
  if (blog.NewLocalEntry(*made, path) != 0) return nullptr;
  model::CWinBlogEntry* entry = made.get();
  blog.InsertEntry(std::move(made));
  blog.Save();
  ctx.view.SetItemCount(static_cast<int>(blog.GetShownCount()));
  if (openEditor && EditEntry(ctx, *entry) == CEditEntryDlg::kDeleted) {
    ctx.Refresh();
    return nullptr;
  }
  ctx.view.SelectEntry(*entry);
  ctx.view.update();
  return entry;
}

void PhotoEntries::TakePhotos(const ui::CommandContext& ctx) {
  if (RefusedReadOnly(ctx)) return;
  photo::CameraLauncher& camera = photo::CameraLauncher::Current();
  if (!camera.HasSupportedCamera()) {
    NoCamera();
    return;
  }
  if (const uint32_t rc = ctx.blog->ComputePhotoFolder(); rc != 0) {
    service::ServiceErrors::ShowUnreported(rc);
    return;
  }
  const bool stay = platform::ReadStayInCamera();
  const bool showEditor = platform::ReadShowEditDialog();
  std::string path;
  int result = camera.Launch(ctx.screen, ctx.owner, ctx.blog->GetPhotoFolder(), path);
  while (result == photo::kPhotoTaken) {
    // A file that is not a JPEG photo ends the loop (the user has been told).
    if (!AddPhotoEntry(ctx, path, showEditor && !stay) || !stay) return;
    result = camera.Launch(ctx.screen, ctx.owner, ctx.blog->GetPhotoFolder(), path);
  }
  if (result == photo::kCameraUnusable) NoCamera();
}

void PhotoEntries::CameraAnswer(const ui::CommandContext& ctx, const std::string& path) {
  // Without a blog on screen the photo stays in its folder, where Add Photo finds it.
  if (path.empty() || !ctx.blog) return;
  AddPhotoEntry(ctx, path, platform::ReadShowEditDialog());
}

void PhotoEntries::AddPhotos(const ui::CommandContext& ctx) {
  if (RefusedReadOnly(ctx)) return;
  model::CWinBlogStorage& blog = *ctx.blog;
  photo::CImageSelectDlg picker(ctx.screen, ctx.owner, &blog, s::kAddPhotos);
  if (picker.DoModal() != ui::CDialogScreen::kOk) return;
  const size_t chosen = picker.GetTickedCount();
  model::CWinBlogEntry* last = nullptr;
  for (size_t i = 0; i < chosen; ++i) {
    auto entry = std::make_unique<model::CWinBlogEntry>();
    // A file that is not a JPEG photo has been named to the user: on with the next.
    if (blog.NewLocalEntry(*entry, picker.GetTickedPath(i)) != 0) continue;
    last = entry.get();
    blog.InsertEntry(std::move(entry));
  }
  if (chosen == 1 && last) EditEntry(ctx, *last);
  blog.Save();
  ctx.view.SetTopRow(0);
  ctx.Refresh();
}

}  // namespace dialogs
