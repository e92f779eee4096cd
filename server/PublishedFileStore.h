#pragma once

#include <optional>
#include <string>

#include "server/Database.h"

namespace server {

// The two plain files the service publishes for clients: the version/notes file
// and the channels file, kept in the store by name. Every call must run inside
// a Transaction.
class PublishedFileStore {
 public:
  static constexpr const char* kMessages = "Tessary.txt";
  static constexpr const char* kChannels = "TessaryChannels.txt";

  explicit PublishedFileStore(Database& db) : db_(db) {}

  bool Set(const std::string& name, const std::string& content);
  std::optional<std::string> Get(const std::string& name);

 private:
  Database& db_;
};

}  // namespace server
