#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <memory>
#include <string>

#include "model/DeviceCommandLock.h"
#include "platform/DeviceFileSystem.h"

namespace cli {

// What every tessary-cli command shares: global options, the device file system
// and the exit status. Command groups register their subcommands on the app and
// set `run` callbacks that answer an exit status.
class CliContext {
 public:
  // Exit statuses.
  static constexpr int kOk = 0;
  static constexpr int kFailure = 1;
  static constexpr int kUsage = 2;
  static constexpr int kCancelled = 130;

  std::string deviceRoot;   // --device-root / TESSARY_DEVICE_ROOT
  std::string service;      // --service HOST[:PORT] / TESSARY_SERVICE
  bool json = false;        // --json
  bool yes = false;         // --yes: answer every question Yes
  bool no = false;          // --no: answer every question No
  std::string osVersion;    // --os-version
  std::string screen;       // --screen WxH@DPI

  // Adds the global options to the app.
  void AddGlobalOptions(CLI::App& app);
  // Applies the options: device facts, device root (created when missing).
  // Answers false (after printing why) when the device root cannot be used.
  bool Prepare();
  platform::DeviceFileSystem& Fs() { return *fs_; }

  // Prints "Tessary: TEXT" on stderr, the way the program shows a message box.
  static void Message(const std::string& text);

  // The command chosen on the command line; answers the exit status.
  std::function<int()> run;
  // Whether the command may change the user file or a blog database: it then
  // runs holding the device root's lock (commands that only read or touch the
  // registry clear it).
  bool changesFiles = true;

  // Takes the device root's lock for the command, saying so on stderr while
  // another Tessary program holds it; Ctrl-C gives up. Answers 0, or the exit
  // status to end with.
  int Lock();

 private:
  std::unique_ptr<platform::DeviceFileSystem> fs_;
  std::unique_ptr<model::DeviceCommandLock> lock_;
};

}  // namespace cli
