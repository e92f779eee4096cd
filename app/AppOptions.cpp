#include "app/AppOptions.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>

#include "TessaryVersion.h"
#include "platform/DeviceFacts.h"
#include "service/ServiceSettings.h"
#include "ui/PhoneWindow.h"

namespace app {
namespace {

constexpr const char* kEnvironment =
    "Environment:\n"
    "  TESSARY_DEVICE_ROOT   folder that holds the device's files (as --device-root)\n"
    "  TESSARY_SERVICE       the photo-blog service as HOST[:PORT] (as --service)\n"
    "  TESSARY_SCREEN        the device's screen as WxH@DPI (as --screen)\n"
    "  TESSARY_OS_VERSION    OS major version the device reports (as --os-version)\n"
    "\n"
    "Keys: F1/F2 the soft keys, arrows and Enter, Escape is Back, Ctrl+plus/minus zoom.\n"
    "Exit status: 0 after Exit, 1 when the device root cannot be used, 2 for a wrong command line.\n";

}  // namespace

bool AppOptions::AsksForInformation(const std::vector<std::string>& arguments) {
  return std::any_of(arguments.begin(), arguments.end(),
                     [](const std::string& a) { return a == "--help" || a == "-h" || a == "--version"; });
}

AppOptions::Outcome AppOptions::Parse(const std::vector<std::string>& arguments, std::string& message) {
  CLI::App parser{"tessary: Tessary, the photo-blogging client, in a phone-sized window", "tessary"};
  parser.set_version_flag("--version", std::string("tessary ") + TESSARY_VERSION_FULL);
  parser.footer(kEnvironment);
  parser.add_option("--device-root", deviceRoot, "Folder that holds the device's files")->option_text("FOLDER");
  parser.add_option("--service", service, "The photo-blog service as HOST[:PORT]")->option_text("HOST[:PORT]");
  parser.add_option("--screen", screen, "The device's screen, e.g. 240x320@96")->option_text("WxH@DPI");
  parser.add_option("--os-version", osVersion, "OS major version the device reports")->option_text("N");
  parser.add_option("--zoom", zoom, "Magnify the window 1 to 4 times (as far as the desktop has room)")
      ->check(CLI::Range(ui::PhoneWindow::kMinZoom, ui::PhoneWindow::kMaxZoom))
      ->option_text("N");
  std::vector<std::string> rest(arguments.size() > 1 ? arguments.begin() + 1 : arguments.end(), arguments.end());
  std::reverse(rest.begin(), rest.end());  // CLI11 takes its arguments in reverse order
  try {
    parser.parse(rest);
  } catch (const CLI::CallForHelp&) {
    message = parser.help();
    return Outcome::Exit;
  } catch (const CLI::CallForVersion&) {
    message = parser.version() + "\n";
    return Outcome::Exit;
  } catch (const CLI::ParseError& e) {
    message = std::string("tessary: ") + e.what() + "\nRun with --help for the options.";
    return Outcome::Usage;
  }
  return Outcome::Run;
}

bool AppOptions::ApplySettings(std::string& error) const {
  auto& facts = platform::DeviceFacts::Current();
  facts.ApplyEnvironment();
  if (!osVersion.empty()) {
    uint32_t major = 0;
    const auto [end, ec] = std::from_chars(osVersion.data(), osVersion.data() + osVersion.size(), major);
    if (ec != std::errc() || end != osVersion.data() + osVersion.size() || major > 100) {
      error = "--os-version must be a number";
      return false;
    }
    facts.osMajorVersion = major;
  }
  if (!screen.empty() && !facts.ParseScreen(screen)) {
    error = "--screen must look like 240x320@96";
    return false;
  }
  service::ServiceSettings& settings = service::ServiceSettings::Current();
  if (!settings.ApplyEnvironment()) {
    error = "TESSARY_SERVICE must look like HOST or HOST:PORT";
    return false;
  }
  if (!service.empty() && !settings.Parse(service)) {
    error = "--service must look like HOST or HOST:PORT";
    return false;
  }
  return true;
}

}  // namespace app
