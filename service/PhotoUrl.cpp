#include "service/PhotoUrl.h"

#include "model/BlogEntry.h"
#include "model/ModelConstants.h"

namespace service {

namespace {

struct ResizeValues {
  int longestSide;
  int quality;
};

ResizeValues ValuesFor(uint8_t sizeCode) {
  switch (sizeCode) {
    case model::kSize176x132: return {176, 80};
    case model::kSize240x180: return {240, 85};
    case model::kSize320x240: return {320, 90};
    case model::kSize640x480: return {640, 90};
    default: return {0, 0};
  }
}

constexpr size_t kShortestUrl = 10;
constexpr size_t kSchemeLength = 7;  // "http://"

}  // namespace

std::string PhotoUrl::Resized(std::string_view base, uint8_t sizeCode) {
  size_t slashes = 0;
  size_t cut = base.size();
  for (size_t i = 0; i < base.size(); ++i) {
    if (base[i] == '/' && ++slashes == 3) {
      cut = i + 1;
      break;
    }
  }
  const ResizeValues v = ValuesFor(sizeCode);
  return std::string(base.substr(0, cut)) + "si.aspx?img=" + std::string(base.substr(cut)) +
         "&ld=" + std::to_string(v.longestSide) + "&q=" + std::to_string(v.quality);
}

std::string PhotoUrl::Choose(const model::BlogEntry& entry, uint8_t& sizeCode) {
  const std::string& thumb = entry.GetThumbnailUrl();
  const std::string& photo = entry.GetPhotoUrl();
  const std::string& full = entry.GetFullSizeUrl();
  switch (sizeCode) {
    case model::kSizeThumbnails:
      if (!thumb.empty()) return thumb;
      if (!photo.empty()) return Resized(photo, sizeCode);
      if (!full.empty()) return Resized(full, sizeCode);
      break;
    case model::kSize176x132:
    case model::kSize240x180:
    case model::kSize320x240:
      if (!photo.empty()) return Resized(photo, sizeCode);
      if (!full.empty()) return Resized(full, sizeCode);
      break;
    case model::kSize480x360:
      if (!photo.empty()) return photo;
      if (!full.empty()) return Resized(full, sizeCode);
      break;
    case model::kSize640x480:
      if (!full.empty()) return Resized(full, sizeCode);
      break;
    default:
      break;
  }
  sizeCode = model::kSizeFull;
  return full;
}

bool PhotoUrl::Split(std::string_view url, std::string& host, std::string& path) {
  if (url.size() < kShortestUrl) return false;
  const std::string_view rest = url.substr(kSchemeLength);
  const size_t slash = rest.find('/');
  host = std::string(rest.substr(0, slash));
  path = slash == std::string_view::npos ? std::string("/") : std::string(rest.substr(slash));
  return !host.empty();
}

}  // namespace service
