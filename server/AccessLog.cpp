#include "server/AccessLog.h"

#include <cstdio>

namespace server {

namespace {

// Quotes and control characters from a client would let it forge lines or
// fields, so they are written as \xHH (what common servers do).
std::string Field(const std::string& text) {
  if (text.empty()) return "-";
  std::string out;
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7f || c == '"' || c == '\\') {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

std::string AccessLog::Line(const httplib::Request& req, const httplib::Response& res, std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char stamp[64];
  std::strftime(stamp, sizeof stamp, "%d/%b/%Y:%H:%M:%S %z", &local);
  // Only bodies actually sent count: none for HEAD and 304.
  const bool bodySent = req.method != "HEAD" && res.status != 304 && !res.body.empty();
  std::string line = Field(req.remote_addr) + " - - [" + stamp + "] \"" +
                     Field(req.method + " " + req.target + " " + req.version) + "\" " + std::to_string(res.status) +
                     " " + (bodySent ? std::to_string(res.body.size()) : "-") + " \"" +
                     Field(req.get_header_value("Referer")) + "\" \"" + Field(req.get_header_value("User-Agent")) +
                     "\"\n";
  return line;
}

void AccessLog::Write(const httplib::Request& req, const httplib::Response& res) {
  const std::string line = Line(req, res, std::time(nullptr));
  std::lock_guard lock(mutex_);
  std::fwrite(line.data(), 1, line.size(), out_);
  std::fflush(out_);
}

}  // namespace server
