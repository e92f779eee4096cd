#pragma once

#include <QStringList>
#include <memory>
#include <string>

#include "app/AppOptions.h"

class CMainFrame;
namespace platform {
class DeviceFileSystem;
}
namespace ui {
class PhoneScreen;
class PhoneWindow;
}  // namespace ui

// The application object: checks the platform, prepares the registry keys and
// the device, creates the phone window with the main frame and runs the loop.
class CTessaryWinCEApp {
 public:
  CTessaryWinCEApp();
  ~CTessaryWinCEApp();

  bool ParseCommandLine(const QStringList& arguments, std::string& error);
  // Start-up in the platform's order; false ends the program at once. A wrong
  // device type answers true without creating a window.
  bool InitInstance();
  // The message loop; 0 at once when there is no main window.
  int Run();

  ui::PhoneWindow* Window() const { return window_.get(); }
  CMainFrame* Frame() const { return frame_; }

 private:
  bool PrepareDevice();
  bool OnCommand(uint32_t command);

  AppOptions options_;
  std::unique_ptr<platform::DeviceFileSystem> fs_;
  std::unique_ptr<ui::PhoneWindow> window_;
  ui::PhoneScreen* screen_ = nullptr;  // owned by the window
  CMainFrame* frame_ = nullptr;        // owned by the screen
};
