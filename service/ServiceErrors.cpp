#include "service/ServiceErrors.h"

#include <strings.h>

#include "model/UserInterface.h"
#include "platform/ErrorCodes.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace service {

namespace {

// Texts of the <MS> element; the place in the list is the code minus 8000.
constexpr const char* kServerTexts[] = {
    "Error: Invalid Version",
    "Error: Invalid Authentication",
    "Error: Email already used",
    "Error: BlogURL already used",
    "Error: Invalid timestamp",
    "Error: Category already used",
    "Error: This category is deleted or doesn't exist",
    "Error: A category is deleted or doesn't exist",
    "Error: Your Picture limit is over",
    "Error: This picture is deleted or doesn't exist",
    "Error: A blog doesn't exist",
    "Error: You have not permission to edit a picture",
    "Error: You have not permission to edit a category",
    "Error: You have not permission to add a picture",
    "Error: You have not permission to add a category",
    "Error: You have not permission to delete a category",
    "Error: You have not permission to delete a picture",
    "Error: An entry is deleted or doesn't exist",
    "Error: This comment is deleted or doesn't exist",
    "Error: You have not permission to edit a comment",
    "Error: You have not permission to post a comment",
    "Error: You have not permission to delete a comment",
    "Error: The Blog is password protected",
    "Error: Enter valid viewer password",
    "",
    "Error: A connection to your blog could not be made so the photo is not posted",
};

constexpr uint32_t kNoMessage = 0;

struct MessageRow {
  int32_t code;
  uint32_t stringId;  // kNoMessage: the server's own text is shown
};

// Searched in this order; the first row of a code wins.
constexpr MessageRow kMessageRows[] = {
    {-234, 8000},  {-217, 8001},  {258, 8002},   {513, 8015},   {1283, 8003},  {4613, 8004},
    {4619, 8005},  {4625, 8006},  {4626, 8007},  {4666, 8008},  {4687, 8009},  {5633, 8010},
    {10767, 8011}, {4612, 8012},  {8000, 8029},  {8001, 8014},  {8004, 8013},  {8005, 8035},
    {8006, 8036},  {8007, kNoMessage},           {8008, 8016},  {8009, kNoMessage},
    {8010, 8021},  {8011, 8022},  {8012, 8023},  {8013, 8024},  {8014, 8025},  {8015, 8026},
    {8016, 8027},  {8018, 8038},  {8019, 8030},  {8020, 8031},  {8021, 8032},  {8022, 8039},
    {8023, 8040},  {8024, 8033},  {7000, 8017},  {11000, 8018}, {10200, 8019}, {4639, 8020},
    {14, 7000},    {8, 7000},     {8002, 8028},  {8003, 8034},  {8017, 8037},
};

}  // namespace

uint32_t ServiceErrors::CodeOfServerText(std::string_view text) {
  for (size_t i = 0; i < std::size(kServerTexts); ++i) {
    const std::string_view known = kServerTexts[i];
    if (known.size() == text.size() &&
        ::strncasecmp(known.data(), text.data(), text.size()) == 0) {
      return kServerErrorFirst + static_cast<uint32_t>(i);
    }
  }
  return kErrUnknownServerMessage;
}

std::string ServiceErrors::UnknownErrorText(uint32_t code) {
  const std::string& format = platform::LoadString(platform::strings::kUnknownError);
  const size_t at = format.find("%d");
  if (at == std::string::npos) return format;
  return format.substr(0, at) + std::to_string(static_cast<int32_t>(code)) + format.substr(at + 2);
}

std::string ServiceErrors::GetErrorText(uint32_t code) {
  for (const MessageRow& row : kMessageRows) {
    if (static_cast<uint32_t>(row.code) != code) continue;
    if (row.stringId == kNoMessage) return std::string();
    return platform::LoadString(row.stringId);
  }
  return UnknownErrorText(code);
}

void ServiceErrors::ShowUnreported(uint32_t code) {
  if (code == 0 || code == kResultAlreadyReported || code == kCreateFailed || code == platform::kErrCancelled) return;
  std::string text = GetErrorText(code);
  if (text.empty()) text = UnknownErrorText(code);
  model::UserInterface::Current().ShowMessage(text, model::MessageIcon::Exclamation);
}

uint32_t ServiceErrors::ReportSyncTransportFailure(uint32_t code, uint32_t transportFailure) {
  if (code == 0 || code == kResultAlreadyReported || code == platform::kErrCancelled || transportFailure == 0) {
    return code;
  }
  model::UserInterface::Current().ShowMessage(platform::LoadString(platform::strings::kInternetUnavailable),
                                              model::MessageIcon::Error);
  return kResultAlreadyReported;
}

}  // namespace service
