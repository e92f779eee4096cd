#include "app/CTessaryWinCEApp.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>

#include "app/CMainFrame.h"
#include "model/CWinBlogUser.h"
#include "platform/DeviceFacts.h"
#include "platform/DeviceFileSystem.h"
#include "platform/Registry.h"
#include "platform/StringTable.h"
#include "ui/BitmapResource.h"
#include "ui/CChildView.h"
#include "ui/DeviceLockStep.h"
#include "ui/DisplayScale.h"
#include "ui/MessageBox.h"
#include "ui/PhoneScreen.h"
#include "ui/PhoneWindow.h"
#include "platform/StringIds.h"

namespace app {

CTessaryWinCEApp::CTessaryWinCEApp() = default;

CTessaryWinCEApp::~CTessaryWinCEApp() {
  model::UserInterface::SetCurrent(nullptr);
  window_.reset();
  user_.reset();
  if (fs_ && &platform::DeviceFileSystem::Current() == fs_.get()) platform::DeviceFileSystem::SetCurrent(previousFs_);
}

AppOptions::Outcome CTessaryWinCEApp::ParseCommandLine(const std::vector<std::string>& arguments,
                                                       std::string& message) {
  const AppOptions::Outcome outcome = options_.Parse(arguments, message);
  if (outcome != AppOptions::Outcome::Run) return outcome;
  if (!options_.ApplySettings(message)) {
    message = "tessary: " + message;
    return AppOptions::Outcome::Usage;
  }
  return outcome;
}

bool CTessaryWinCEApp::PrepareDevice() {
  const std::filesystem::path root = options_.deviceRoot.empty()
                                         ? platform::DeviceFileSystem::DefaultRoot()
                                         : std::filesystem::path(options_.deviceRoot);
  fs_ = std::make_unique<platform::DeviceFileSystem>(root);
  if (uint32_t rc = fs_->Initialise(); rc != 0) {
    std::fprintf(stderr, "tessary: cannot use device root %s (error %u)\n", root.c_str(), rc);
    return false;
  }
  previousFs_ = &platform::DeviceFileSystem::Current();
  platform::DeviceFileSystem::SetCurrent(fs_.get());
  platform::RegistryReset();
  return true;
}

bool CTessaryWinCEApp::InitInstance() {
  if (!PrepareDevice()) return false;
  user_ = std::make_unique<model::CWinBlogUser>();
  const platform::DeviceFacts& facts = platform::DeviceFacts::Current();
  if (!facts.socketsStart) {
    ui::MessageBox::Show(platform::LoadString(platform::strings::kSocketStartFailed), ui::MessageBox::Icon::Exclamation);
    return false;
  }
  if (facts.type != platform::DeviceType::Smartphone) {
    ui::MessageBox::Show(platform::LoadString(platform::strings::kWrongDeviceType), ui::MessageBox::Icon::Error);
    return true;
  }
  ui::DisplayScale::FromDpi(facts.dpi, facts.dpi);
  for (const char* key : {"Software\\Morvane", "Software\\Morvane\\Tessary", "Software\\Morvane\\Tessary\\Preferences"}) {
    platform::RegistryHandle handle = nullptr;
    if (platform::RegCreateKey(platform::Hive::CurrentUser, key, handle) == 0) platform::RegCloseKey(handle);
  }

  const int width = static_cast<int>(facts.screenWidth);
  const int height = static_cast<int>(facts.screenHeight);
  screen_ = new ui::PhoneScreen(width, height);
  window_ = std::make_unique<ui::PhoneWindow>(screen_, options_.zoom);
  window_->setWindowIcon(QIcon(QPixmap::fromImage(ui::BitmapResource::ProgramIcon())));
  model::UserInterface::SetCurrent(&userInterface_);
  frame_ = new CMainFrame(*screen_, *user_);
  const int d = ui::DisplayScale::Down(20);
  frame_->setGeometry(0, d, width, height - 2 * d);
  if (!frame_->Create()) return false;
  frame_->SetCaption(QStringLiteral("Tessary"));
  QObject::connect(frame_, &CMainFrame::ExitRequested, window_.get(), &QWidget::close);
  userInterface_.SetQuitRequest([window = window_.get()] {
    QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
  });
  // The phone's display is on from the start: the welcome screens of the view's
  // start-up show on it before the main window does.
  frame_->hide();
  window_->show();
  // The start-up reads the account and may save it (the sample blog, the sync
  // after a new login): as a command, under the device root's lock. Giving up
  // the wait for another program ends the program.
  ui::DeviceLockStep lock;
  if (!lock.Acquire(*screen_, frame_, nullptr)) return false;
  try {
    frame_->View()->Initialise();
    lock.Release();
    frame_->show();
    screen_->RestoreFocus();
  } catch (...) {
    // A failure while the view starts leaves the program running with what was built.
  }
  return true;
}

int CTessaryWinCEApp::Run() {
  if (!window_) return 0;
  try {
    return QApplication::exec();
  } catch (...) {
    return 0;
  }
}

}  // namespace app
