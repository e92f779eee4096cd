#include "platform/Preferences.h"

#include "platform/CRegistry.h"
#include "platform/TextConversion.h"

namespace platform {
namespace {

constexpr Hive kHive = Hive::CurrentUser;

bool ReadFlag(const char* name) { return CRegistry::GetNumber(kHive, kPreferencesKey, name, 0) != 0; }

bool WriteFlag(const char* name, bool on) { return CRegistry::SetNumber(kHive, kPreferencesKey, name, on ? 1 : 0); }

std::string ReadText(const char* name, std::string_view defaultValue) {
  return Utf16ToUtf8(CRegistry::GetString(kHive, kPreferencesKey, name, Utf8ToUtf16(defaultValue)));
}

bool WriteText(const char* name, std::string_view value) {
  return CRegistry::SetString(kHive, kPreferencesKey, name, Utf8ToUtf16(value));
}

}  // namespace

bool CreatePreferenceKeys() {
  CRegistry reg;
  return reg.Create(kHive, kPreferencesKey);
}

bool ReadMainViewFont(LogFont& font) {
  uint8_t bytes[LogFont::kByteSize];
  uint32_t length = sizeof bytes;
  return CRegistry::GetBinary(kHive, kPreferencesKey, kPrefMainViewFont, bytes, length) &&
         LogFont::Deserialise(bytes, length, font);
}

bool WriteMainViewFont(const LogFont& font) {
  const auto bytes = font.Serialise();
  return CRegistry::SetBinary(kHive, kPreferencesKey, kPrefMainViewFont, bytes.data(),
                              static_cast<uint32_t>(bytes.size()));
}

bool ReadShowEditDialog() { return ReadFlag(kPrefShowEditDialog); }
bool WriteShowEditDialog(bool on) { return WriteFlag(kPrefShowEditDialog, on); }
bool ReadOpenCameraOnLaunch() { return ReadFlag(kPrefOpenCameraOnLaunch); }
bool WriteOpenCameraOnLaunch(bool on) { return WriteFlag(kPrefOpenCameraOnLaunch, on); }
bool ReadStayInCamera() { return ReadFlag(kPrefStayInCamera); }
bool WriteStayInCamera(bool on) { return WriteFlag(kPrefStayInCamera, on); }

std::string ReadCurrentlyViewedBlog() { return ReadText(kPrefCurrentlyViewedBlog, ""); }
bool WriteCurrentlyViewedBlog(std::string_view urlName) { return WriteText(kPrefCurrentlyViewedBlog, urlName); }

bool IsDownloadPhotoSize(uint32_t sizeCode) { return sizeCode >= 2 && sizeCode <= 7; }

uint32_t ReadDownloadPhotoSize() {
  const uint32_t v = CRegistry::GetNumber(kHive, kPreferencesKey, kPrefDownloadPhotoSize, kDefaultDownloadPhotoSize);
  return IsDownloadPhotoSize(v) ? v : kDefaultDownloadPhotoSize;
}

bool WriteDownloadPhotoSize(uint32_t sizeCode) {
  return CRegistry::SetNumber(kHive, kPreferencesKey, kPrefDownloadPhotoSize, sizeCode);
}

std::string ReadLastRemoteBlog() { return ReadText(kPrefLastRemoteBlog, ""); }
bool WriteLastRemoteBlog(std::string_view name) { return WriteText(kPrefLastRemoteBlog, name); }

uint32_t ReadLastMessageCheck() { return CRegistry::GetNumber(kHive, kPreferencesKey, kPrefLastMessageCheck, 0); }
bool WriteLastMessageCheck(uint32_t timeValue) {
  return CRegistry::SetNumber(kHive, kPreferencesKey, kPrefLastMessageCheck, timeValue);
}

std::string ReadLastIgnoredVersion() { return ReadText(kPrefLastIgnoredVersion, kDefaultLastIgnoredVersion); }
bool WriteLastIgnoredVersion(std::string_view version) { return WriteText(kPrefLastIgnoredVersion, version); }

uint32_t ReadLastMessageNumber() { return CRegistry::GetNumber(kHive, kPreferencesKey, kPrefLastMessageNumber, 0); }
bool WriteLastMessageNumber(uint32_t number) {
  return CRegistry::SetNumber(kHive, kPreferencesKey, kPrefLastMessageNumber, number);
}

bool ResetPreference(const std::string& name) {
  CRegistry reg(kHive, kPreferencesKey);
  if (!reg.Open()) return true;
  uint32_t type = 0, length = 0;
  if (!reg.QueryValue(name, type, nullptr, length)) return true;
  return reg.DeleteValue(name);
}

}  // namespace platform
