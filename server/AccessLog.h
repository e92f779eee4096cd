#pragma once

#include <httplib.h>

#include <cstdio>
#include <ctime>
#include <mutex>
#include <string>

namespace server {

// One line for every answered request in the combined log format that web
// servers write and log tools read:
//   HOST - - [DD/Mon/YYYY:HH:MM:SS +ZZZZ] "REQUEST LINE" STATUS BYTES "REFERER" "USER AGENT"
// Lines are whole and flushed at once, whichever worker writes them.
class AccessLog {
 public:
  explicit AccessLog(std::FILE* out) : out_(out) {}

  void Write(const httplib::Request& req, const httplib::Response& res);
  static std::string Line(const httplib::Request& req, const httplib::Response& res, std::time_t when);

 private:
  std::FILE* out_;
  std::mutex mutex_;
};

}  // namespace server
