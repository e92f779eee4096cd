#include "server/HttpCache.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <system_error>

#include "server/Timestamp.h"

namespace server {

namespace {

constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// FNV-1a: a short stable tag for a variant text.
uint64_t Fingerprint(std::string_view text) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

bool HttpCache::ForFile(const std::filesystem::path& file, std::string_view variant, Validators& validators) {
  std::error_code ec;
  uintmax_t size = std::filesystem::file_size(file, ec);
  if (ec) return false;
  auto changed = std::filesystem::last_write_time(file, ec);
  if (ec) return false;
  auto sinceEpoch = std::chrono::file_clock::to_sys(changed).time_since_epoch();
  int64_t nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(sinceEpoch).count();
  char tag[80];
  if (variant.empty()) {
    std::snprintf(tag, sizeof tag, "\"%llx-%llx\"", static_cast<unsigned long long>(nanos),
                  static_cast<unsigned long long>(size));
  } else {
    std::snprintf(tag, sizeof tag, "\"%llx-%llx-%llx\"", static_cast<unsigned long long>(nanos),
                  static_cast<unsigned long long>(size), static_cast<unsigned long long>(Fingerprint(variant)));
  }
  validators.etag = tag;
  validators.modified = std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch).count();
  validators.lastModified = FormatDate(validators.modified);
  return true;
}

bool HttpCache::NotModified(std::string_view ifNoneMatch, std::string_view ifModifiedSince,
                            const Validators& validators) {
  if (!Trim(ifNoneMatch).empty()) {
    // A list of tags; weak ones compare by their opaque part.
    while (!ifNoneMatch.empty()) {
      size_t comma = ifNoneMatch.find(',');
      std::string_view tag = Trim(ifNoneMatch.substr(0, comma));
      ifNoneMatch = comma == std::string_view::npos ? std::string_view() : ifNoneMatch.substr(comma + 1);
      if (tag.substr(0, 2) == "W/") tag.remove_prefix(2);
      if (tag == "*" || tag == validators.etag) return true;
    }
    return false;
  }
  int64_t since = 0;
  return ParseDate(Trim(ifModifiedSince), since) && validators.modified <= since;
}

std::string HttpCache::FormatDate(int64_t unixSeconds) {
  std::time_t t = static_cast<std::time_t>(unixSeconds);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char text[40];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d GMT", kDays[tm.tm_wday], tm.tm_mday,
                kMonths[tm.tm_mon], tm.tm_year + 1900, tm.tm_hour, tm.tm_min, tm.tm_sec);
  return text;
}

bool HttpCache::ParseDate(std::string_view text, int64_t& unixSeconds) {
  // "Sun, 06 Nov 1994 08:49:37 GMT", the one form senders must use.
  if (text.size() != 29 || text.substr(3, 2) != ", " || text.substr(25) != " GMT") return false;
  std::string_view month = text.substr(8, 3);
  int monthNumber = 0;
  for (int i = 0; i < 12; ++i) {
    if (month == kMonths[i]) monthNumber = i + 1;
  }
  if (monthNumber == 0 || text[7] != ' ' || text[11] != ' ' || text[16] != ' ') return false;
  char iso[21];
  std::snprintf(iso, sizeof iso, "%.4s-%02d-%.2sT%.8sZ", text.data() + 12, monthNumber, text.data() + 5,
                text.data() + 17);
  return Timestamp::Parse(iso, unixSeconds);
}

}  // namespace server
