#include "platform/FontChoice.h"

#include <algorithm>

namespace platform {

namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool SameNoCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return Lower(x) == Lower(y); });
}

}  // namespace

int FontChoice::PointsFromHeight(int32_t height, int dpi) {
  if (dpi <= 0) return 0;
  const int64_t scaled = -int64_t{height} * 72;
  int64_t points = scaled / dpi;
  if (scaled % dpi >= (dpi + 1) / 2) ++points;
  return static_cast<int>(points);
}

int32_t FontChoice::HeightFromPoints(int points, int dpi) {
  const int64_t scaled = int64_t{points} * dpi;
  int64_t height = scaled / 72;
  if (scaled % 72 > 35) ++height;
  return static_cast<int32_t>(-height);
}

bool FontChoice::IsListedSize(int points) {
  return std::find(kSizes.begin(), kSizes.end(), points) != kSizes.end();
}

size_t FontChoice::SizeIndex(const LogFont& font, int dpi) {
  const int points = PointsFromHeight(font.height, dpi);
  const auto at = std::find(kSizes.begin(), kSizes.end(), points);
  return at == kSizes.end() ? kDefaultSizeIndex : static_cast<size_t>(at - kSizes.begin());
}

long FontChoice::FindFace(const std::vector<std::u16string>& families, std::u16string_view faceName) {
  for (size_t i = 0; i < families.size(); ++i) {
    if (SameNoCase(families[i], faceName)) return static_cast<long>(i);
  }
  return -1;
}

size_t FontChoice::FaceIndex(const std::vector<std::u16string>& families, std::u16string_view faceName) {
  const long at = FindFace(families, faceName);
  return at < 0 ? 0 : static_cast<size_t>(at);
}

FontChoice::Choice FontChoice::Of(const LogFont& font, int dpi) {
  Choice choice;
  choice.faceName = font.faceName;
  choice.points = kSizes[SizeIndex(font, dpi)];
  choice.bold = font.weight == kBold;
  choice.italic = font.italic != 0;
  choice.underline = font.underline != 0;
  choice.clearType = font.quality == kClearType;
  return choice;
}

LogFont FontChoice::Apply(LogFont font, const Choice& choice, int dpi) {
  font.faceName = choice.faceName.substr(0, LogFont::kFaceNameUnits - 1);
  font.height = HeightFromPoints(choice.points, dpi);
  font.weight = choice.bold ? kBold : kRegular;
  font.italic = choice.italic ? 1 : 0;
  font.underline = choice.underline ? 1 : 0;
  font.quality = choice.clearType ? kClearType : 0;
  return font;
}

}  // namespace platform
