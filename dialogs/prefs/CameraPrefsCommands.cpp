#include "dialogs/prefs/CameraPrefsCommands.h"

#include "dialogs/prefs/CCameraPrefsDlg.h"
#include "photo/CameraLauncher.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "ui/CommandIds.h"
#include "ui/MessageBox.h"

namespace dialogs {

ui::CommandTable CameraPrefsCommands::Table() {
  return {
      ui::CommandRow::One(ui::commands::kCameraPrefs, ui::acts::Always,
                          [](const ui::CommandContext& ctx) {
                            if (!photo::CameraLauncher::Current().HasSupportedCamera()) {
                              ui::MessageBox::Show(platform::LoadString(platform::strings::kNoSupportedCamera),
                                                   ui::MessageBox::Icon::Exclamation);
                              return;
                            }
                            CCameraPrefsDlg dialog(ctx.screen, ctx.owner);
                            dialog.DoModal();
                          }),
  };
}

}  // namespace dialogs
