#include "ui/ViewCommands.h"

#include <algorithm>

#include "model/CWinBlogStorage.h"
#include "ui/CChildView.h"
#include "ui/CommandIds.h"

namespace ui {
namespace {

namespace c = commands;

CommandRow ShowFilter(uint32_t command, uint16_t value) {
  return CommandRow::One(command, acts::BlogOpen, [value](const CommandContext& ctx) { ctx.view.SetShowFilter(value); });
}

int UnfiledPosition(const model::CWinBlogStorage& blog) {
  return static_cast<int>(std::min<size_t>(blog.GetCategoryCount(), CChildView::kMaxMenuCategories)) + 1;
}

}  // namespace

CommandTable ViewCommands::Table() {
  return {
      CommandRow::One(c::kOk, acts::Always,
                      [](const CommandContext& ctx) {
                        if (ctx.entry) {
                          ctx.view.CloseViewer();
                        } else if (ctx.blog) {
                          ctx.view.GoHome();
                        }
                      }),
      CommandRow::One(c::kCloseViewer, acts::Always, [](const CommandContext& ctx) { ctx.view.CloseViewer(); }),
      CommandRow::One(
          c::kHome, [](const CommandContext& ctx) { return ctx.blog && !ctx.entry; },
          [](const CommandContext& ctx) { ctx.view.GoHome(); }),
      ShowFilter(c::kShowAll, model::kShowAll),
      ShowFilter(c::kShowPending, model::kShowPending),
      ShowFilter(c::kShowPublished, model::kShowPublished),
      ShowFilter(c::kShowPublishedByMe, model::kShowPublishedByMe),
      CommandRow::One(c::kCategoryAll, acts::BlogOpen,
                      [](const CommandContext& ctx) { ctx.view.SetCategoryFilter(model::kAllCategories, 0); }),
      CommandRow::One(c::kCategoryUnfiled, acts::BlogOpen,
                      [](const CommandContext& ctx) { ctx.view.SetCategoryFilter(0, UnfiledPosition(*ctx.blog)); }),
      // Commands 5000 + k choose the k-th category.
      {c::kCategoryFirst, c::kCategoryLast,
       [](const CommandContext& ctx, uint32_t command) {
         return ctx.blog && command - c::kCategoryFirst < ctx.blog->GetCategoryCount();
       },
       [](const CommandContext& ctx, uint32_t command) {
         const uint32_t k = command - c::kCategoryFirst;
         ctx.view.SetCategoryFilter(ctx.blog->GetCategoryAt(k)->GetId(), static_cast<int>(k) + 1);
       }},
      CommandRow::One(c::kPreviousEntry, acts::ViewerOpen, [](const CommandContext& ctx) { ctx.view.MoveInViewer(-1); }),
      CommandRow::One(c::kNextEntry, acts::ViewerOpen, [](const CommandContext& ctx) { ctx.view.MoveInViewer(1); }),
  };
}

}  // namespace ui
