#include "cli/CliContext.h"

#include <cstdlib>
#include <iostream>

#include "cli/CliProgress.h"
#include "platform/DeviceFacts.h"
#include "platform/ErrorCodes.h"

namespace cli {

void CliContext::AddGlobalOptions(CLI::App& app) {
  app.add_option("--device-root", deviceRoot, "Folder that holds the device's files")
      ->type_name("DIR")
      ->envname("TESSARY_DEVICE_ROOT");
  app.add_option("--service", service, "Service host as HOST[:PORT]")
      ->type_name("HOST[:PORT]")
      ->envname("TESSARY_SERVICE");
  app.add_flag("--json", json, "Print data as JSON");
  auto* yesOpt = app.add_flag("--yes", yes, "Answer every question Yes");
  app.add_flag("--no", no, "Answer every question No")->excludes(yesOpt);
  app.add_option("--os-version", osVersion, "OS major version the device reports")
      ->type_name("N")
      ->envname("TESSARY_OS_VERSION");
  app.add_option("--screen", screen, "Screen as WxH@DPI")->type_name("WxH@DPI")->envname("TESSARY_SCREEN");
}

bool CliContext::Prepare() {
  auto& facts = platform::DeviceFacts::Current();
  facts.ApplyEnvironment();
  if (!osVersion.empty()) {
    char* end = nullptr;
    unsigned long v = std::strtoul(osVersion.c_str(), &end, 10);
    if (end == osVersion.c_str() || *end != '\0' || v > 100) {
      std::cerr << "tessary-cli: --os-version must be a number\n";
      return false;
    }
    facts.osMajorVersion = static_cast<uint32_t>(v);
  }
  if (!screen.empty() && !facts.ParseScreen(screen)) {
    std::cerr << "tessary-cli: --screen must look like 240x320@96\n";
    return false;
  }
  std::filesystem::path root =
      deviceRoot.empty() ? platform::DeviceFileSystem::DefaultRoot() : std::filesystem::path(deviceRoot);
  fs_ = std::make_unique<platform::DeviceFileSystem>(root);
  if (uint32_t rc = fs_->Initialise(); rc != 0) {
    std::cerr << "tessary-cli: cannot use device root " << root << " (error " << rc << ")\n";
    return false;
  }
  platform::DeviceFileSystem::SetCurrent(fs_.get());
  return true;
}

int CliContext::Lock() {
  lock_ = std::make_unique<model::DeviceCommandLock>();
  uint32_t rc = 0;
  {
    CliProgress waiting;
    rc = lock_->Acquire(&waiting);
  }
  if (rc == 0) return kOk;
  if (rc == platform::kErrCancelled) return kCancelled;
  std::cerr << "tessary-cli: cannot lock the device root " << fs_->HostRoot() << " (error " << rc << ")\n";
  return kFailure;
}

void CliContext::Message(const std::string& text) { std::cerr << "Tessary: " << text << '\n'; }

}  // namespace cli
