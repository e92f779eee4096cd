#include "platform/DeviceFacts.h"

#include <charconv>
#include <cstdlib>
#include <string_view>

namespace platform {
namespace {

// Parses a whole decimal number in [lo, hi].
bool ParseNumber(std::string_view text, uint32_t lo, uint32_t hi, uint32_t& out) {
  uint32_t v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v < lo || v > hi) return false;
  out = v;
  return true;
}

}  // namespace

DeviceFacts& DeviceFacts::Current() {
  static DeviceFacts facts;
  return facts;
}

void DeviceFacts::ApplyEnvironment() {
  if (const char* v = std::getenv("TESSARY_OS_VERSION"); v && *v) {
    uint32_t major = 0;
    if (ParseNumber(v, 0, 100, major)) osMajorVersion = major;
  }
  if (const char* v = std::getenv("TESSARY_SCREEN"); v && *v) ParseScreen(v);
}

bool DeviceFacts::ParseScreen(const std::string& text) {
  std::string_view s = text;
  size_t x = s.find('x');
  if (x == std::string_view::npos) return false;
  size_t at = s.find('@', x);
  std::string_view w = s.substr(0, x);
  std::string_view h = s.substr(x + 1, at == std::string_view::npos ? std::string_view::npos : at - x - 1);
  uint32_t width = 0, height = 0, d = dpi;
  if (!ParseNumber(w, 1, 10000, width) || !ParseNumber(h, 1, 10000, height)) return false;
  if (at != std::string_view::npos && !ParseNumber(s.substr(at + 1), 1, 1000, d)) return false;
  screenWidth = width;
  screenHeight = height;
  dpi = d;
  return true;
}

}  // namespace platform
