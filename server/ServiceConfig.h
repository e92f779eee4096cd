#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "server/HttpLimits.h"

namespace server {

// Settings of one running service.
struct ServiceConfig {
  std::filesystem::path dataDir;
  // HOST[:PORT] written into every URL the service hands out.
  std::string publicHost;
  // Accepted distance, in seconds, between a request's creation time and the clock.
  int64_t clockWindow = 15 * 60;
  // Larger requests are refused with HTTP 413 before they are read into memory.
  size_t maxRequest = 64u * 1024 * 1024;
  // Photo quota of free accounts made through "CreateAccount".
  int64_t freeQuota = 500;
  // Unix seconds; the system clock when empty (tests set their own).
  std::function<int64_t()> clock;
  HttpLimits http;
  // Where the access log goes, one line per answered request; none when null.
  std::FILE* accessLog = nullptr;
  // Tests only: called for an "AP" whose photo is ready, just before its
  // transaction begins, to hold it there. Unset in the service.
  std::function<void()> holdUpload;

  int64_t Now() const;
};

}  // namespace server
