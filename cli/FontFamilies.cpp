#include "cli/FontFamilies.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <set>

#include "platform/TextConversion.h"

namespace cli {

namespace {

std::string Folded(const std::string& name) {
  std::string folded = name;
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

// The family names of the fonts fontconfig knows, each once.
std::vector<std::string> ListFamilies() {
  std::vector<std::string> names;
  std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(), FcPatternDestroy);
  std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(FcObjectSetBuild(FC_FAMILY, nullptr),
                                                                      FcObjectSetDestroy);
  if (!pattern || !objects) return names;
  std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> fonts(FcFontList(nullptr, pattern.get(), objects.get()),
                                                                FcFontSetDestroy);
  if (!fonts) return names;
  std::set<std::string> seen;
  for (int i = 0; i < fonts->nfont; ++i) {
    FcChar8* family = nullptr;
    if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch || family == nullptr) continue;
    const std::string name(reinterpret_cast<const char*>(family));
    if (!name.empty() && seen.insert(name).second) names.push_back(name);
  }
  return names;
}

}  // namespace

std::vector<std::u16string> FontFamilies::Installed() {
  if (FcInit() == FcFalse) return {};
  std::vector<std::string> names = ListFamilies();
  // The program asks once; the configuration fontconfig loaded is not kept.
  FcFini();
  std::stable_sort(names.begin(), names.end(),
                   [](const std::string& a, const std::string& b) { return Folded(a) < Folded(b); });
  std::vector<std::u16string> families;
  families.reserve(names.size());
  for (const std::string& name : names) families.push_back(platform::Utf8ToUtf16(name));
  return families;
}

}  // namespace cli
