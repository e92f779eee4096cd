#include "server/Timestamp.h"

#include <cstdio>
#include <ctime>

namespace server {

namespace {

bool Digits(std::string_view text, size_t at, size_t count, int& value) {
  value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to the civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  int64_t era = (y >= 0 ? y : y - 399) / 400;
  int64_t yoe = y - era * 400;
  int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace

std::string Timestamp::FormatUtc(int64_t unixSeconds) {
  std::time_t t = static_cast<std::time_t>(unixSeconds);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%d-%02d-%02dT%02d:%02d:%02dZ", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                tm.tm_hour, tm.tm_min, tm.tm_sec);
  return buffer;
}

bool Timestamp::Parse(std::string_view text, int64_t& unixSeconds) {
  if (text.size() < 19) return false;
  int year, month, day, hour, minute, second;
  if (!Digits(text, 0, 4, year) || text[4] != '-' || !Digits(text, 5, 2, month) || text[7] != '-' ||
      !Digits(text, 8, 2, day) || text[10] != 'T' || !Digits(text, 11, 2, hour) || text[13] != ':' ||
      !Digits(text, 14, 2, minute) || text[16] != ':' || !Digits(text, 17, 2, second)) {
    return false;
  }
  if (year < 1904 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
      minute > 59 || second > 59) {
    return false;
  }
  int64_t offset = 0;
  std::string_view suffix = text.substr(19);
  if (suffix == "Z" || suffix.empty()) {
    offset = 0;
  } else if (suffix.size() == 5 && (suffix[0] == '+' || suffix[0] == '-')) {
    int hh, mm;
    if (!Digits(suffix, 1, 2, hh) || !Digits(suffix, 3, 2, mm) || hh > 23 || mm > 59) return false;
    offset = (hh * 3600 + mm * 60) * (suffix[0] == '-' ? -1 : 1);
  } else {
    return false;
  }
  unixSeconds = DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second - offset;
  return true;
}

}  // namespace server
