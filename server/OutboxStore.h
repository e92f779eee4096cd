#pragma once

#include <cstdint>
#include <string>

#include "server/Database.h"

namespace server {

// What users sent out of the service: photo mails and remote-blog posts.
// Every call must run inside a Transaction.
class OutboxStore {
 public:
  explicit OutboxStore(Database& db) : db_(db) {}

  struct Mail {
    int64_t user = 0;
    int64_t blog = 0;
    int64_t category = 0;
    int64_t entry = 0;
    std::string recipients;  // comma-separated
    std::string message;
  };
  struct RemotePost {
    int64_t user = 0;
    int64_t blog = 0;
    std::string remoteBlog;
    int64_t category = 0;
    int64_t entry = 0;
    std::string title;
    std::string caption;
  };

  // Both answer the new row's id, or 0 when the store failed.
  int64_t AddMail(const Mail& mail, int64_t now);
  int64_t AddRemotePost(const RemotePost& post, int64_t now);

 private:
  Database& db_;
};

}  // namespace server
