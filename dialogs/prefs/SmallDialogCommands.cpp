#include "dialogs/prefs/SmallDialogCommands.h"

#include "dialogs/prefs/CAboutDlg.h"
#include "dialogs/prefs/CChooseFontDlg.h"
#include "platform/DeviceFacts.h"
#include "platform/Preferences.h"
#include "ui/CChildView.h"
#include "ui/CommandIds.h"

namespace dialogs {

namespace {

void ChooseFont(const ui::CommandContext& ctx) {
  CChooseFontDlg dialog(ctx.screen, ctx.owner, ctx.view.RegularFontRecord(),
                        static_cast<int>(platform::DeviceFacts::Current().dpi));
  if (dialog.DoModal() != ui::CDialogScreen::kOk) return;
  platform::CreatePreferenceKeys();
  platform::WriteMainViewFont(dialog.Result());
  ctx.view.FontChanged();
}

void About(const ui::CommandContext& ctx) {
  CAboutDlg dialog(ctx.screen, ctx.owner);
  dialog.DoModal();
}

}  // namespace

ui::CommandTable SmallDialogCommands::Table() {
  return {
      ui::CommandRow::One(ui::commands::kFont, ui::acts::Always, ChooseFont),
      ui::CommandRow::One(ui::commands::kAbout, ui::acts::Always, About),
  };
}

}  // namespace dialogs
