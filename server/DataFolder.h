#pragma once

#include <filesystem>
#include <string>

#include "server/Database.h"

namespace server {

// The service's data folder: the store "service.db", "photos/" and "outbox/".
class DataFolder {
 public:
  static std::filesystem::path Photos(const std::filesystem::path& dir) { return dir / "photos"; }
  static std::filesystem::path Outbox(const std::filesystem::path& dir) { return dir / "outbox"; }

  // Creates what is missing and opens the store; false with a reason in error.
  static bool Open(const std::filesystem::path& dir, Database& db, std::string& error);
};

}  // namespace server
