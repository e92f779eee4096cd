#include "net/Http.h"

#include "net/RandomToken.h"
#include "net/Timestamp.h"
#include "platform/ErrorCodes.h"
#include "platform/TimeValue.h"

namespace net {

std::unique_ptr<Stream> Http::MakeUserAgentHeader() { return nullptr; }

std::string Http::MakeRandomToken() { return RandomToken::MakeRandomToken(); }

bool Http::IsCancelled(uint32_t code) const { return code == platform::kErrCancelled; }

bool Http::IsFailure(uint32_t code) const { return code != 0 && code != platform::kErrCancelled; }

uint32_t Http::Now() { return platform::Now(); }

uint32_t Http::EpochOffset() const { return static_cast<uint32_t>(platform::kSeconds1904To1970); }

int32_t Http::TimeZoneOffset() { return platform::TimeZoneOffset(platform::Now()); }

std::string Http::FormatTimestamp(uint32_t timeValue, bool utc) {
  return Timestamp::FormatTimestamp(timeValue, utc);
}

uint32_t Http::ParseTimestamp(std::string_view text) { return Timestamp::ParseTimestamp(text); }

}  // namespace net
