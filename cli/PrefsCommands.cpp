#include "cli/PrefsCommands.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <iomanip>
#include <iostream>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "platform/CRegistry.h"
#include "platform/Preferences.h"
#include "platform/TextConversion.h"
#include "platform/TimeValue.h"

namespace cli {

namespace {

using platform::LogFont;

enum class Kind { Flag, Number, PhotoSize, Time, Text, Font };

// One preference: how to read and write it through its accessors.
struct Row {
  const char* name;
  Kind kind;
  uint32_t (*readNumber)();
  bool (*writeNumber)(uint32_t);
  std::string (*readText)();
  bool (*writeText)(std::string_view);
};

const Row kRows[] = {
    {platform::kPrefMainViewFont, Kind::Font, nullptr, nullptr, nullptr, nullptr},
    {platform::kPrefShowEditDialog, Kind::Flag, [] { return uint32_t{platform::ReadShowEditDialog()}; },
     [](uint32_t v) { return platform::WriteShowEditDialog(v != 0); }, nullptr, nullptr},
    {platform::kPrefOpenCameraOnLaunch, Kind::Flag, [] { return uint32_t{platform::ReadOpenCameraOnLaunch()}; },
     [](uint32_t v) { return platform::WriteOpenCameraOnLaunch(v != 0); }, nullptr, nullptr},
    {platform::kPrefStayInCamera, Kind::Flag, [] { return uint32_t{platform::ReadStayInCamera()}; },
     [](uint32_t v) { return platform::WriteStayInCamera(v != 0); }, nullptr, nullptr},
    {platform::kPrefCurrentlyViewedBlog, Kind::Text, nullptr, nullptr, platform::ReadCurrentlyViewedBlog,
     platform::WriteCurrentlyViewedBlog},
    {platform::kPrefDownloadPhotoSize, Kind::PhotoSize, platform::ReadDownloadPhotoSize,
     platform::WriteDownloadPhotoSize, nullptr, nullptr},
    {platform::kPrefLastRemoteBlog, Kind::Text, nullptr, nullptr, platform::ReadLastRemoteBlog,
     platform::WriteLastRemoteBlog},
    {platform::kPrefLastMessageCheck, Kind::Time, platform::ReadLastMessageCheck, platform::WriteLastMessageCheck,
     nullptr, nullptr},
    {platform::kPrefLastIgnoredVersion, Kind::Text, nullptr, nullptr, platform::ReadLastIgnoredVersion,
     platform::WriteLastIgnoredVersion},
    {platform::kPrefLastMessageNumber, Kind::Number, platform::ReadLastMessageNumber,
     platform::WriteLastMessageNumber, nullptr, nullptr},
};

constexpr const char* kPhotoSizeLabels[] = {"176x132", "240x180", "320x240", "480x360", "640x480", "Full size"};
constexpr size_t kMaxTextBytes = 4096;

const char* kHelpFooter = R"(Values:
  flags (Show Edit Dialog, Open Camera On Launch, Stay In Camera): on/off, 1/0, yes/no, true/false
  Download Photo Size: 2..7 or its label: 176x132, 240x180, 320x240, 480x360, 640x480, "Full size"
  Last message check: a time value (seconds since 1904-01-01 local) or "YYYY-MM-DD HH:MM:SS"
  Last Message Number: a number 0..4294967295
  texts (Currently Viewed Blog, Last Remote Blog, Last ignored version): any text
  Main View Font: comma-separated FIELD=VALUE pairs; fields height, width, escapement,
    orientation, weight (signed numbers), italic, underline, strikeout, charset,
    outprecision, clipprecision, quality, pitchandfamily (0..255) and face (at most
    31 characters; face takes the rest of the text, commas included, so give it last).
    Fields not given keep their stored value, or 0 when no font is stored:
      prefs set "Main View Font" "height=-12,weight=700,face=DejaVu Sans"
Names are matched without regard to letter case; `prefs reset NAME` returns one to its default.)";

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

const Row* FindRow(std::string_view name) {
  for (const Row& row : kRows) {
    if (SameName(row.name, name)) return &row;
  }
  return nullptr;
}

// The stored number of a preference when it holds a usable one.
std::optional<uint32_t> StoredNumber(const char* name) {
  platform::CRegistry reg(platform::Hive::CurrentUser, platform::kPreferencesKey);
  uint8_t bytes[4];
  uint32_t type = 0, length = sizeof bytes;
  if (!reg.Open() || !reg.QueryValue(name, type, bytes, length) || type != platform::kRegNumber || length != 4) {
    return std::nullopt;
  }
  return static_cast<uint32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24);
}

// Whether the reader of `row` answers a stored value rather than its default.
bool IsStored(const Row& row) {
  switch (row.kind) {
    case Kind::Font: {
      LogFont font;
      return platform::ReadMainViewFont(font);
    }
    case Kind::Text: {
      platform::CRegistry reg(platform::Hive::CurrentUser, platform::kPreferencesKey);
      std::u16string text;
      return reg.Open() && reg.ReadString(row.name, text);
    }
    case Kind::PhotoSize: {
      auto v = StoredNumber(row.name);
      return v && platform::IsDownloadPhotoSize(*v);
    }
    default:
      return StoredNumber(row.name).has_value();
  }
}

std::string FormatTime(uint32_t value) {
  platform::SystemTime st;
  platform::TimeValueToSystemTime(value, st);
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", st.year, st.month, st.day, st.hour, st.minute,
                st.second);
  return text;
}

std::string FormatFont(const LogFont& f) {
  std::string out = "height=" + std::to_string(f.height) + ",width=" + std::to_string(f.width) +
                    ",escapement=" + std::to_string(f.escapement) + ",orientation=" + std::to_string(f.orientation) +
                    ",weight=" + std::to_string(f.weight) + ",italic=" + std::to_string(f.italic) +
                    ",underline=" + std::to_string(f.underline) + ",strikeout=" + std::to_string(f.strikeOut) +
                    ",charset=" + std::to_string(f.charSet) + ",outprecision=" + std::to_string(f.outPrecision) +
                    ",clipprecision=" + std::to_string(f.clipPrecision) + ",quality=" + std::to_string(f.quality) +
                    ",pitchandfamily=" + std::to_string(f.pitchAndFamily);
  return out + ",face=" + platform::Utf16ToUtf8(f.faceName);
}

nlohmann::json FontJson(const LogFont& f) {
  return {{"height", f.height},         {"width", f.width},
          {"escapement", f.escapement}, {"orientation", f.orientation},
          {"weight", f.weight},         {"italic", f.italic},
          {"underline", f.underline},   {"strikeout", f.strikeOut},
          {"charset", f.charSet},       {"outprecision", f.outPrecision},
          {"clipprecision", f.clipPrecision}, {"quality", f.quality},
          {"pitchandfamily", f.pitchAndFamily}, {"face", platform::Utf16ToUtf8(f.faceName)}};
}

// The current value of a row as a line of text and as JSON.
void Describe(const Row& row, std::string& text, nlohmann::json& json) {
  const bool stored = IsStored(row);
  json = {{"name", row.name}, {"default", !stored}};
  switch (row.kind) {
    case Kind::Font: {
      LogFont font;
      if (platform::ReadMainViewFont(font)) {
        text = FormatFont(font);
        json["type"] = "binary";
        json["value"] = FontJson(font);
      } else {
        text = "(the main view's own font)";
        json["type"] = "binary";
        json["value"] = nullptr;
      }
      break;
    }
    case Kind::Flag: {
      const bool on = row.readNumber() != 0;
      text = on ? "on" : "off";
      json["type"] = "number";
      json["value"] = on;
      break;
    }
    case Kind::Number: {
      const uint32_t v = row.readNumber();
      text = std::to_string(v);
      json["type"] = "number";
      json["value"] = v;
      break;
    }
    case Kind::PhotoSize: {
      const uint32_t v = row.readNumber();
      text = std::to_string(v) + " (" + kPhotoSizeLabels[v - 2] + ")";
      json["type"] = "number";
      json["value"] = v;
      json["label"] = kPhotoSizeLabels[v - 2];
      break;
    }
    case Kind::Time: {
      const uint32_t v = row.readNumber();
      text = std::to_string(v) + (v == 0 ? " (never)" : " (" + FormatTime(v) + ")");
      json["type"] = "number";
      json["value"] = v;
      json["time"] = v == 0 ? nlohmann::json(nullptr) : nlohmann::json(FormatTime(v));
      break;
    }
    case Kind::Text: {
      text = row.readText();
      json["type"] = "string";
      json["value"] = text;
      text = "\"" + text + "\"";
      break;
    }
  }
  if (!stored) text += "  [default]";
}

void PrintRow(const Row& row, bool json, std::ostream& out) {
  std::string text;
  nlohmann::json value;
  Describe(row, text, value);
  if (json) {
    out << value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  } else {
    out << std::left << std::setw(24) << row.name << text << '\n';
  }
}

bool ParseU32(std::string_view text, uint32_t& out) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool ParseI32(std::string_view text, int32_t& out) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

bool ParseFlag(std::string_view text, uint32_t& out) {
  const std::string t = Lower(text);
  if (t == "1" || t == "on" || t == "yes" || t == "true") {
    out = 1;
  } else if (t == "0" || t == "off" || t == "no" || t == "false") {
    out = 0;
  } else {
    return false;
  }
  return true;
}

bool ParsePhotoSize(std::string_view text, uint32_t& out) {
  if (ParseU32(text, out)) return platform::IsDownloadPhotoSize(out);
  const std::string t = Lower(text);
  for (uint32_t i = 0; i < 6; ++i) {
    if (t == Lower(kPhotoSizeLabels[i])) {
      out = i + 2;
      return true;
    }
  }
  return false;
}

bool ParseTime(std::string_view text, uint32_t& out) {
  if (ParseU32(text, out)) return true;
  unsigned y, mo, d, h, mi, s;
  char sep;
  char tail;
  const std::string t(text);
  if (std::sscanf(t.c_str(), "%4u-%2u-%2u%c%2u:%2u:%2u%c", &y, &mo, &d, &sep, &h, &mi, &s, &tail) != 7 ||
      (sep != ' ' && sep != 'T')) {
    return false;
  }
  platform::SystemTime st;
  st.year = static_cast<uint16_t>(y);
  st.month = static_cast<uint16_t>(mo);
  st.day = static_cast<uint16_t>(d);
  st.hour = static_cast<uint16_t>(h);
  st.minute = static_cast<uint16_t>(mi);
  st.second = static_cast<uint16_t>(s);
  return platform::SystemTimeToTimeValue(st, out);
}

// "height=-12,weight=700,face=DejaVu Sans" over `font`; `why` tells what is wrong.
bool ParseFont(std::string_view text, LogFont& font, std::string& why) {
  if (Trim(text).empty()) {
    why = "no fields given";
    return false;
  }
  while (!text.empty()) {
    const size_t eq = text.find('=');
    if (eq == std::string_view::npos) {
      why = "\"" + std::string(Trim(text)) + "\" is not FIELD=VALUE";
      return false;
    }
    const std::string field = Lower(Trim(text.substr(0, eq)));
    text.remove_prefix(eq + 1);
    if (field == "face") {
      const std::u16string face = platform::Utf8ToUtf16(text);
      if (face.size() >= LogFont::kFaceNameUnits) {
        why = "the face name is longer than 31 characters";
        return false;
      }
      font.faceName = face;
      return true;
    }
    const size_t comma = text.find(',');
    const std::string_view value = Trim(text.substr(0, comma));
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    int32_t* wide = field == "height"        ? &font.height
                    : field == "width"       ? &font.width
                    : field == "escapement"  ? &font.escapement
                    : field == "orientation" ? &font.orientation
                    : field == "weight"      ? &font.weight
                                             : nullptr;
    uint8_t* narrow = field == "italic"           ? &font.italic
                      : field == "underline"      ? &font.underline
                      : field == "strikeout"      ? &font.strikeOut
                      : field == "charset"        ? &font.charSet
                      : field == "outprecision"   ? &font.outPrecision
                      : field == "clipprecision"  ? &font.clipPrecision
                      : field == "quality"        ? &font.quality
                      : field == "pitchandfamily" ? &font.pitchAndFamily
                                                  : nullptr;
    if (wide != nullptr) {
      if (!ParseI32(value, *wide)) {
        why = field + " must be a signed 32-bit number";
        return false;
      }
    } else if (narrow != nullptr) {
      uint32_t v = 0;
      if (!ParseU32(value, v) || v > 255) {
        why = field + " must be a number 0..255";
        return false;
      }
      *narrow = static_cast<uint8_t>(v);
    } else {
      why = "unknown font field \"" + field + "\"";
      return false;
    }
  }
  return true;
}

int UnknownName(const std::string& name, std::ostream& err) {
  err << "tessary-cli: unknown preference \"" << name << "\" (run 'tessary-cli prefs' for the list)\n";
  return CliContext::kUsage;
}

int BadValue(const Row& row, const std::string& why, std::ostream& err) {
  err << "tessary-cli: bad value for \"" << row.name << "\": " << why << " (see 'tessary-cli prefs --help')\n";
  return CliContext::kUsage;
}

}  // namespace

int PrefsCommands::List(bool json, std::ostream& out, std::ostream&) {
  if (json) {
    nlohmann::json all = nlohmann::json::array();
    for (const Row& row : kRows) {
      std::string text;
      nlohmann::json value;
      Describe(row, text, value);
      all.push_back(std::move(value));
    }
    out << all.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  } else {
    for (const Row& row : kRows) PrintRow(row, false, out);
  }
  return CliContext::kOk;
}

int PrefsCommands::Get(const std::string& name, bool json, std::ostream& out, std::ostream& err) {
  const Row* row = FindRow(name);
  if (row == nullptr) return UnknownName(name, err);
  PrintRow(*row, json, out);
  return CliContext::kOk;
}

int PrefsCommands::Set(const std::string& name, const std::string& value, bool json, std::ostream& out,
                       std::ostream& err) {
  const Row* row = FindRow(name);
  if (row == nullptr) return UnknownName(name, err);
  bool stored = false;
  switch (row->kind) {
    case Kind::Font: {
      LogFont font;
      platform::ReadMainViewFont(font);
      std::string why;
      if (!ParseFont(value, font, why)) return BadValue(*row, why, err);
      stored = platform::CreatePreferenceKeys() && platform::WriteMainViewFont(font);
      break;
    }
    case Kind::Text:
      if (value.size() > kMaxTextBytes) return BadValue(*row, "longer than 4096 bytes", err);
      stored = platform::CreatePreferenceKeys() && row->writeText(value);
      break;
    default: {
      uint32_t v = 0;
      if (row->kind == Kind::Flag && !ParseFlag(value, v)) return BadValue(*row, "expected on or off", err);
      if (row->kind == Kind::PhotoSize && !ParsePhotoSize(value, v)) {
        return BadValue(*row, "expected a photo size 2..7 or 176x132, 240x180, 320x240, 480x360, 640x480, Full size",
                        err);
      }
      if (row->kind == Kind::Time && !ParseTime(value, v)) {
        return BadValue(*row, "expected a time value or YYYY-MM-DD HH:MM:SS (1904..2040)", err);
      }
      if (row->kind == Kind::Number && !ParseU32(value, v)) {
        return BadValue(*row, "expected a number 0..4294967295", err);
      }
      stored = platform::CreatePreferenceKeys() && row->writeNumber(v);
      break;
    }
  }
  if (!stored) {
    err << "tessary-cli: cannot store \"" << row->name << "\" in the registry\n";
    return CliContext::kFailure;
  }
  PrintRow(*row, json, out);
  return CliContext::kOk;
}

int PrefsCommands::Reset(const std::string& name, bool json, std::ostream& out, std::ostream& err) {
  const Row* row = FindRow(name);
  if (row == nullptr) return UnknownName(name, err);
  if (!platform::ResetPreference(row->name)) {
    err << "tessary-cli: cannot reset \"" << row->name << "\" in the registry\n";
    return CliContext::kFailure;
  }
  PrintRow(*row, json, out);
  return CliContext::kOk;
}

void PrefsCommands::Register(CLI::App& app, CliContext& ctx) {
  struct Args {
    std::string name;
    std::string value;
  };
  auto args = std::make_shared<Args>();
  CLI::App* prefs = app.add_subcommand("prefs", "List the preferences with their values, or change one");
  prefs->fallthrough();
  prefs->footer(kHelpFooter);

  CLI::App* get = prefs->add_subcommand("get", "Show one preference");
  get->add_option("NAME", args->name, "Preference name, e.g. \"Download Photo Size\"")->required();
  get->callback([&ctx, args] {
    ctx.run = [&ctx, args] { return Get(args->name, ctx.json, std::cout, std::cerr); };
  });

  CLI::App* set = prefs->add_subcommand("set", "Store one preference");
  set->add_option("NAME", args->name, "Preference name")->required();
  set->add_option("VALUE", args->value, "New value (see below)")->required();
  set->callback([&ctx, args] {
    ctx.run = [&ctx, args] { return Set(args->name, args->value, ctx.json, std::cout, std::cerr); };
  });

  CLI::App* reset = prefs->add_subcommand("reset", "Remove one preference so that it takes its default");
  reset->add_option("NAME", args->name, "Preference name")->required();
  reset->callback([&ctx, args] {
    ctx.run = [&ctx, args] { return Reset(args->name, ctx.json, std::cout, std::cerr); };
  });

  prefs->callback([&ctx, prefs] {
    // Preferences live in the registry, which needs no device lock.
    ctx.changesFiles = false;
    if (prefs->get_subcommands().empty()) ctx.run = [&ctx] { return List(ctx.json, std::cout, std::cerr); };
  });
}

}  // namespace cli
