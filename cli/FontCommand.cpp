#include "cli/FontCommand.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/FontFamilies.h"
#include "platform/DeviceFacts.h"
#include "platform/FontChoice.h"
#include "platform/Preferences.h"
#include "platform/TextConversion.h"

namespace cli {

namespace {

using platform::FontChoice;

struct FontArgs {
  bool list = false;
  std::string family;
  int size = 0;
  CLI::Option* sizeOpt = nullptr;
  std::optional<bool> bold;
  std::optional<bool> italic;
  std::optional<bool> underline;
  std::optional<bool> clearType;

  bool Chooses() const { return !family.empty() || sizeOpt->count() > 0 || bold || italic || underline || clearType; }
};

int Dpi() { return static_cast<int>(platform::DeviceFacts::Current().dpi); }

// The stored font, or the one the view uses without a choice: the phone's
// 12-pixel text at 96 dpi, regular.
platform::LogFont CurrentFont() {
  platform::LogFont font;
  if (platform::ReadMainViewFont(font)) return font;
  font.height = -(12 * Dpi() / 96);
  font.weight = FontChoice::kRegular;
  return font;
}

void Print(const platform::LogFont& font, bool json) {
  const FontChoice::Choice choice = FontChoice::Of(font, Dpi());
  const std::string face = platform::Utf16ToUtf8(font.faceName);
  const int points = FontChoice::PointsFromHeight(font.height, Dpi());
  if (json) {
    const nlohmann::ordered_json out = {{"family", face},          {"size", points},
                                        {"height", font.height},   {"bold", choice.bold},
                                        {"italic", choice.italic}, {"underline", choice.underline},
                                        {"clearType", choice.clearType}};
    std::cout << out.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    return;
  }
  std::cout << (face.empty() ? std::string("(the phone's font)") : face) << ", " << points << " pt";
  for (const auto& [on, name] : {std::pair{choice.bold, "bold"}, std::pair{choice.italic, "italic"},
                                 std::pair{choice.underline, "underline"}, std::pair{choice.clearType, "Clear Type"}}) {
    if (on) std::cout << ", " << name;
  }
  std::cout << '\n';
}

int Font(const CliContext& ctx, const FontArgs& args) {
  const std::vector<std::u16string> families = FontFamilies::Installed();
  if (args.list) {
    nlohmann::json list = nlohmann::json::array();
    for (const std::u16string& family : families) {
      if (ctx.json) {
        list.push_back(platform::Utf16ToUtf8(family));
      } else {
        std::cout << platform::Utf16ToUtf8(family) << '\n';
      }
    }
    if (ctx.json) std::cout << list.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    return CliContext::kOk;
  }
  platform::LogFont font = CurrentFont();
  if (!args.Chooses()) {
    Print(font, ctx.json);
    return CliContext::kOk;
  }
  if (args.sizeOpt->count() > 0 && !FontChoice::IsListedSize(args.size)) {
    std::cerr << "tessary-cli: --size takes 6, 7, 8, 9, 10, 11 or 12\n";
    return CliContext::kUsage;
  }
  FontChoice::Choice choice = FontChoice::Of(font, Dpi());
  // The family the screen would show: the one named, else the current one as
  // installed, else the first.
  if (!args.family.empty() && FontChoice::FindFace(families, platform::Utf8ToUtf16(args.family)) < 0) {
    std::cerr << "tessary-cli: no font family \"" << args.family << "\" is installed (see font --list)\n";
    return CliContext::kUsage;
  }
  const std::u16string wanted = args.family.empty() ? font.faceName : platform::Utf8ToUtf16(args.family);
  if (!families.empty()) choice.faceName = families[FontChoice::FaceIndex(families, wanted)];
  if (args.sizeOpt->count() > 0) choice.points = args.size;
  if (args.bold) choice.bold = *args.bold;
  if (args.italic) choice.italic = *args.italic;
  if (args.underline) choice.underline = *args.underline;
  if (args.clearType) choice.clearType = *args.clearType;
  font = FontChoice::Apply(font, choice, Dpi());
  if (!platform::CreatePreferenceKeys() || !platform::WriteMainViewFont(font)) {
    std::cerr << "tessary-cli: cannot store \"Main View Font\" in the registry\n";
    return CliContext::kFailure;
  }
  Print(font, ctx.json);
  return CliContext::kOk;
}

void AddStyle(CLI::App* cmd, const std::string& name, const std::string& what, std::optional<bool>& value) {
  cmd->add_flag_callback("--" + name, [&value] { value = true; }, what);
  cmd->add_flag_callback("--no-" + name, [&value] { value = false; }, "Not " + what);
}

}  // namespace

void FontCommand::Register(CLI::App& app, CliContext& ctx) {
  auto args = std::make_shared<FontArgs>();
  CLI::App* cmd = app.add_subcommand("font", "Show or choose the font of the entry list (Main View Font)");
  auto* list = cmd->add_flag("--list", args->list, "List the installed font families");
  cmd->add_option("family", args->family, "Font family (see --list)")->excludes(list);
  args->sizeOpt = cmd->add_option("--size", args->size, "Size in points: 6 to 12")->excludes(list);
  AddStyle(cmd, "bold", "bold", args->bold);
  AddStyle(cmd, "italic", "italic", args->italic);
  AddStyle(cmd, "underline", "underlined", args->underline);
  AddStyle(cmd, "clear-type", "drawn with Clear Type", args->clearType);
  cmd->callback([&ctx, args] {
    // The font lives in the registry, which needs no device lock.
    ctx.changesFiles = false;
    ctx.run = [&ctx, args] { return Font(ctx, *args); };
  });
}

}  // namespace cli
