#include "server/DataFolder.h"

#include <system_error>

namespace server {

bool DataFolder::Open(const std::filesystem::path& dir, Database& db, std::string& error) {
  std::error_code ec;
  for (const auto& folder : {dir, Photos(dir), Outbox(dir)}) {
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder, ec)) {
      error = "cannot create folder " + folder.string();
      return false;
    }
  }
  if (!db.Open(dir / "service.db")) {
    error = "cannot open the store " + (dir / "service.db").string();
    return false;
  }
  return true;
}

}  // namespace server
