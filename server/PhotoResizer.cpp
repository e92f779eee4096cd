#include "server/PhotoResizer.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>

#include "server/ImageScaler.h"
#include "server/JpegCodec.h"

namespace server {

namespace {

bool ParseNumber(const std::string& text, int& value) {
  if (text.empty()) {
    value = 0;
    return true;
  }
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value >= 0;
}

}  // namespace

int PhotoResizer::Resize(const std::string& img, const std::string& ld, const std::string& q, std::string& jpeg) {
  int side = 0;
  int quality = 0;
  if (!ParseNumber(ld, side) || !ParseNumber(q, quality) || quality > 100) return 400;
  if (side == 0) side = kDefaultSide;
  if (quality == 0) quality = kDefaultQuality;

  static constexpr std::string_view kFolder = "photos/";
  std::string_view path = img;
  if (path.substr(0, 1) == "/") path.remove_prefix(1);
  if (path.substr(0, kFolder.size()) != kFolder) return 404;
  std::string name(path.substr(kFolder.size()));
  std::filesystem::path file = photos_.Resolve(name);
  if (file.empty()) return 404;

  std::ifstream in(file, std::ios::binary);
  std::string stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  int width = 0;
  int height = 0;
  if (!JpegCodec::ReadSize(stored, width, height)) return 500;
  if (width <= side && height <= side) {
    jpeg = std::move(stored);
    return 200;
  }
  side = std::min(side, kMaxSide);
  std::string key = name + "/" + std::to_string(side) + "/" + std::to_string(quality);
  if (auto cached = cache_.Find(key)) {
    jpeg = std::move(*cached);
    return 200;
  }
  DecodeGate::Turn turn = photos_.Gate().WaitUnlessCrowded(JpegCodec::DecodeMemory(stored));
  if (!turn.Granted()) return 503;
  RgbImage image;
  if (!JpegCodec::Decode(stored, side, image)) return 500;
  std::string().swap(stored);
  if (!JpegCodec::Encode(ImageScaler::FitLongestSide(image, side), quality, jpeg)) return 500;
  cache_.Put(key, jpeg);
  return 200;
}

}  // namespace server
