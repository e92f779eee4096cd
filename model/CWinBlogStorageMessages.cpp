#include <cstdio>
#include <string>

#include "model/CWinBlogStorage.h"
#include "model/UserInterface.h"
#include "platform/Preferences.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/TimeValue.h"

namespace model {

namespace {

// The version and notes file is read at most once a day.
constexpr uint32_t kMessageCheckInterval = 86400;

}  // namespace

bool CWinBlogStorage::ShouldCheckVersion(bool explicitCheck) {
  if (explicitCheck) return true;
  return uint64_t{platform::ReadLastMessageCheck()} + kMessageCheckInterval < platform::Now();
}

bool CWinBlogStorage::OfferNewVersion(std::string_view version) {
  NewVersionChoice choice = UserInterface::Current().OfferNewVersion(version);
  if (choice.dontShowAgain || choice.download) platform::WriteLastIgnoredVersion(version);
  return choice.download;
}

void CWinBlogStorage::ShowServiceMessage(uint32_t number, std::string_view text,
                                         std::string_view) {
  UserInterface::Current().ShowMessage(text, MessageIcon::Information);
  platform::WriteLastMessageNumber(number);
}

void CWinBlogStorage::SetMessageCheckTime(bool now) {
  platform::WriteLastMessageCheck(now ? platform::Now() : 0);
}

void CWinBlogStorage::ReportError(uint32_t code, const std::string_view* text, bool addFullStop) {
  std::string message;
  if (text != nullptr) {
    message.assign(*text);
    if (addFullStop) message += '.';
  } else {
    const std::string& format = platform::LoadString(platform::strings::kUnknownError);
    size_t at = format.find("%d");
    message = at == std::string::npos
                  ? format
                  : format.substr(0, at) + std::to_string(static_cast<int32_t>(code)) +
                        format.substr(at + 2);
  }
  UserInterface::Current().ShowMessage(message, MessageIcon::Exclamation);
}

}  // namespace model
