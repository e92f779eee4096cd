#include "server/PhotoStore.h"

#include <fstream>
#include <set>
#include <system_error>

#include "server/Crypto.h"
#include "server/ImageScaler.h"
#include "server/JpegCodec.h"
#include "server/ServiceMessages.h"

namespace server {

namespace {

constexpr size_t kKeyBytes = 10;

bool IsKey(std::string_view text) {
  if (text.size() != kKeyBytes * 2) return false;
  for (char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

}  // namespace

bool PhotoStore::Init() {
  std::error_code ec;
  std::filesystem::create_directories(folder_, ec);
  return std::filesystem::is_directory(folder_, ec);
}

std::string PhotoStore::FileName(const std::string& key, char variant) {
  if (variant == 0) return key + ".jpg";
  return key + "_" + variant + ".jpg";
}

bool PhotoStore::IsFileName(std::string_view name) {
  if (name.size() < 4 || name.substr(name.size() - 4) != ".jpg") return false;
  std::string_view stem = name.substr(0, name.size() - 4);
  if (stem.size() == kKeyBytes * 2 + 2 && stem[kKeyBytes * 2] == '_') {
    char variant = stem.back();
    if (variant != 'm' && variant != 't') return false;
    stem = stem.substr(0, kKeyBytes * 2);
  }
  return IsKey(stem);
}

bool PhotoStore::WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

int PhotoStore::Store(const std::string& jpeg, Stored& stored) {
  int width = 0;
  int height = 0;
  if (!JpegCodec::ReadSize(jpeg, width, height)) return kNotJpeg;
  if (static_cast<long long>(width) * height > JpegCodec::kMaxPixels) return kPhotoTooLarge;
  DecodeGate::Turn turn = gate_.Wait(JpegCodec::DecodeMemory(jpeg));
  RgbImage decoded;
  if (!JpegCodec::Decode(jpeg, kMediumSide, decoded)) return kNotJpeg;
  std::string medium;
  std::string thumbnail;
  if (!JpegCodec::Encode(ImageScaler::FitLongestSide(decoded, kMediumSide), kRenditionQuality, medium) ||
      !JpegCodec::Encode(ImageScaler::FitLongestSide(decoded, kThumbnailSide), kRenditionQuality, thumbnail)) {
    return kStoreFailure;
  }
  std::string key = Crypto::RandomHex(kKeyBytes);
  if (key.empty()) return kStoreFailure;
  if (!WriteFile(folder_ / FileName(key), jpeg) || !WriteFile(folder_ / FileName(key, 'm'), medium) ||
      !WriteFile(folder_ / FileName(key, 't'), thumbnail)) {
    Remove(key);
    return kStoreFailure;
  }
  stored.key = key;
  stored.width = width;
  stored.height = height;
  return kOk;
}

void PhotoStore::Remove(const std::string& key) {
  if (!IsKey(key)) return;
  std::error_code ec;
  for (char variant : {char(0), 'm', 't'}) std::filesystem::remove(folder_ / FileName(key, variant), ec);
}

void PhotoStore::RemoveOrphans(const std::vector<std::string>& liveKeys) {
  std::set<std::string, std::less<>> live(liveKeys.begin(), liveKeys.end());
  std::error_code ec;
  std::vector<std::filesystem::path> orphans;
  for (const auto& item : std::filesystem::directory_iterator(folder_, ec)) {
    std::string name = item.path().filename().string();
    if (IsFileName(name) && live.count(std::string_view(name).substr(0, kKeyBytes * 2)) == 0) {
      orphans.push_back(item.path());
    }
  }
  for (const auto& path : orphans) std::filesystem::remove(path, ec);
}

std::filesystem::path PhotoStore::Resolve(std::string_view name) const {
  if (!IsFileName(name)) return {};
  std::filesystem::path path = folder_ / std::string(name);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return {};
  return path;
}

}  // namespace server
