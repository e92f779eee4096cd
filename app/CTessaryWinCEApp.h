#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/AppOptions.h"
#include "app/GuiUserInterface.h"

namespace model {
class CWinBlogUser;
}
namespace platform {
class DeviceFileSystem;
}
namespace ui {
class PhoneScreen;
class PhoneWindow;
}  // namespace ui

namespace app {

class CMainFrame;

// The application object: checks the platform, prepares the registry keys and
// the device, creates the phone window with the main frame and runs the loop.
class CTessaryWinCEApp {
 public:
  CTessaryWinCEApp();
  ~CTessaryWinCEApp();

  // The command line (program name first); Run means start, otherwise `message`
  // is what to print before ending.
  AppOptions::Outcome ParseCommandLine(const std::vector<std::string>& arguments, std::string& message);
  // Start-up in the platform's order; false ends the program at once. A wrong
  // device type answers true without creating a window.
  bool InitInstance();
  // The message loop; 0 at once when there is no main window.
  int Run();

  ui::PhoneWindow* Window() const { return window_.get(); }
  CMainFrame* Frame() const { return frame_; }
  model::CWinBlogUser* User() const { return user_.get(); }

 private:
  bool PrepareDevice();

  AppOptions options_;
  GuiUserInterface userInterface_;
  std::unique_ptr<platform::DeviceFileSystem> fs_;
  platform::DeviceFileSystem* previousFs_ = nullptr;
  std::unique_ptr<model::CWinBlogUser> user_;  // the account, for the whole run
  std::unique_ptr<ui::PhoneWindow> window_;
  ui::PhoneScreen* screen_ = nullptr;  // owned by the window
  CMainFrame* frame_ = nullptr;        // owned by the screen
};

}  // namespace app
