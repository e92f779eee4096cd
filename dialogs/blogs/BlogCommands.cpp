#include "dialogs/blogs/BlogCommands.h"

#include <memory>
#include <string>

#include "dialogs/account/WelcomeFlow.h"
#include "dialogs/blogs/CBlogPrefsDlg.h"
#include "dialogs/blogs/CEditBlogListDlg.h"
#include "dialogs/blogs/CNewBlogDlg.h"
#include "dialogs/blogs/CSubscribeDlg.h"
#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "ui/CChildView.h"
#include "ui/CommandIds.h"

namespace dialogs {
namespace {

namespace c = ui::commands;

void Welcome(const ui::CommandContext& ctx) {
  if (WelcomeFlow::Run(ctx.screen, ctx.owner, ctx.user, false)) ctx.Refresh();
}

// A new blog is saved first; one that cannot be saved is not added.
void AddBlog(const ui::CommandContext& ctx, std::unique_ptr<model::CWinBlogStorage> blog) {
  if (!blog || blog->Save() != 0) return;
  ctx.view.ShowBlog(ctx.user.Blogs().InsertBlog(std::move(blog)));
}

void Subscribe(const ui::CommandContext& ctx) {
  if (!ctx.HasLogin()) {
    Welcome(ctx);
    return;
  }
  CSubscribeDlg dialog(ctx.screen, ctx.owner, ctx.user);
  if (dialog.DoModal() == ui::CDialogScreen::kOk) AddBlog(ctx, dialog.TakeBlog());
}

void CreateBlog(const ui::CommandContext& ctx) {
  if (!ctx.HasLogin()) {
    Welcome(ctx);
    return;
  }
  CNewBlogDlg dialog(ctx.screen, ctx.owner, ctx.user);
  if (dialog.DoModal() == ui::CDialogScreen::kOk) AddBlog(ctx, dialog.TakeBlog());
}

void EditBlogs(const ui::CommandContext& ctx) {
  const int row = ctx.view.InHomeView() ? ctx.view.Selected() : -1;
  const std::string selected = row >= 0 && static_cast<size_t>(row) < ctx.user.Blogs().Count()
                                   ? ctx.user.Blogs().At(static_cast<size_t>(row))->Info().urlName
                                   : std::string();
  CEditBlogListDlg dialog(ctx.screen, ctx.owner, ctx.user);
  dialog.DoModal();
  // The blog selected before is selected again when it is still there.
  ctx.Refresh();
  const int16_t again = selected.empty() ? -1 : ctx.user.FindBlogIndex(selected);
  if (again >= 0) ctx.view.Select(again, true);
}

void BlogPrefs(const ui::CommandContext& ctx) {
  CBlogPrefsDlg dialog(ctx.screen, ctx.owner, *ctx.blog, CBlogPrefsDlg::Layout::Full);
  if (dialog.DoModal() != ui::CDialogScreen::kOk) return;
  ctx.blog->Save();
  ctx.Refresh();
}

}  // namespace

ui::CommandTable BlogCommands::Table() {
  return {
      ui::CommandRow::One(c::kSubscribe, ui::acts::Always, Subscribe),
      ui::CommandRow::One(c::kCreateBlog, ui::acts::Always, CreateBlog),
      ui::CommandRow::One(c::kEditBlogs, ui::acts::Always, EditBlogs),
      ui::CommandRow::One(c::kBlogPrefs, ui::acts::BlogOpen, BlogPrefs),
  };
}

}  // namespace dialogs
