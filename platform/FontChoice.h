#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LogFont.h"

namespace platform {

// The rules of the Choose Font screen over the font record of "Main View Font",
// shared by the screen and the command line (each lists the installed families
// its own way): the size list in points, the conversion between points and the
// record's height at the display's dots per inch, and how a choice is written.
class FontChoice {
 public:
  static constexpr std::array<int, 7> kSizes = {6, 7, 8, 9, 10, 11, 12};
  static constexpr size_t kDefaultSizeIndex = 4;  // "10"
  static constexpr int32_t kBold = 700;
  static constexpr int32_t kRegular = 400;
  static constexpr uint8_t kClearType = 5;

  // (-height * 72) / dpi, a remainder of half the dpi or more rounding up.
  static int PointsFromHeight(int32_t height, int dpi);
  // -((points * dpi) / 72), a remainder above 35 rounding up.
  static int32_t HeightFromPoints(int points, int dpi);
  // The size list's entry for the record's height, or "10" when the size is
  // not in the list.
  static size_t SizeIndex(const LogFont& font, int dpi);
  // The family whose name equals `faceName` without regard to letter case, or -1.
  static long FindFace(const std::vector<std::u16string>& families, std::u16string_view faceName);
  // That family, or else the first one (0 for an empty list too).
  static size_t FaceIndex(const std::vector<std::u16string>& families, std::u16string_view faceName);
  static bool IsListedSize(int points);

  struct Choice {
    std::u16string faceName;
    int points = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool clearType = false;
  };
  // What the screen shows for `font`.
  static Choice Of(const LogFont& font, int dpi);
  // `font` with the choice written into it: face name, height, weight, italic,
  // underline and quality; every other field keeps its value.
  static LogFont Apply(LogFont font, const Choice& choice, int dpi);
};

}  // namespace platform
