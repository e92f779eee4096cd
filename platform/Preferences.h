#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/LogFont.h"

// The program's settings: one reader and one writer per named value under the
// preferences key of the current user. Nothing is cached; every read sees the
// last write. A value that cannot be read yields its default; writers answer
// whether the value was stored, and the program ignores a failure.
namespace platform {

inline constexpr const char* kPreferencesKey = "Software\\Morvane\\Tessary\\Preferences";

inline constexpr const char* kPrefMainViewFont = "Main View Font";
inline constexpr const char* kPrefShowEditDialog = "Show Edit Dialog";
inline constexpr const char* kPrefOpenCameraOnLaunch = "Open Camera On Launch";
inline constexpr const char* kPrefStayInCamera = "Stay In Camera";
inline constexpr const char* kPrefCurrentlyViewedBlog = "Currently Viewed Blog";
inline constexpr const char* kPrefDownloadPhotoSize = "Download Photo Size";
inline constexpr const char* kPrefLastRemoteBlog = "Last Remote Blog";
inline constexpr const char* kPrefLastMessageCheck = "Last message check";
inline constexpr const char* kPrefLastIgnoredVersion = "Last ignored version";
inline constexpr const char* kPrefLastMessageNumber = "Last Message Number";

inline constexpr uint32_t kDefaultDownloadPhotoSize = 5;  // 480x360
inline constexpr const char* kDefaultLastIgnoredVersion = "1.0";

// Creates the preferences key when it does not exist yet.
bool CreatePreferenceKeys();

// False when no usable font record is stored; the caller builds its default font.
bool ReadMainViewFont(LogFont& font);
bool WriteMainViewFont(const LogFont& font);

bool ReadShowEditDialog();
bool WriteShowEditDialog(bool on);
bool ReadOpenCameraOnLaunch();
bool WriteOpenCameraOnLaunch(bool on);
bool ReadStayInCamera();
bool WriteStayInCamera(bool on);

// urlName of the blog in the blog view; empty while the home view is shown.
std::string ReadCurrentlyViewedBlog();
bool WriteCurrentlyViewedBlog(std::string_view urlName);

// Photo size code 2..7; any other stored value reads as 5.
uint32_t ReadDownloadPhotoSize();
bool WriteDownloadPhotoSize(uint32_t sizeCode);
bool IsDownloadPhotoSize(uint32_t sizeCode);

std::string ReadLastRemoteBlog();
bool WriteLastRemoteBlog(std::string_view name);

// Time value of the last automatic message and version check.
uint32_t ReadLastMessageCheck();
bool WriteLastMessageCheck(uint32_t timeValue);

std::string ReadLastIgnoredVersion();
bool WriteLastIgnoredVersion(std::string_view version);

uint32_t ReadLastMessageNumber();
bool WriteLastMessageNumber(uint32_t number);

// Removes a stored preference so that its reader answers the default again.
bool ResetPreference(const std::string& name);

}  // namespace platform
