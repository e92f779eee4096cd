#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "server/Database.h"
#include "server/Records.h"

namespace server {

// Blogs and the members of group blogs. Every call must run inside a Transaction.
class BlogStore {
 public:
  explicit BlogStore(Database& db) : db_(db) {}

  std::optional<BlogRecord> Find(const std::string& url);
  std::optional<BlogRecord> Find(int64_t id);
  // Answers the new id, or 0 when the name is taken or the store failed.
  int64_t Add(const BlogRecord& blog, int64_t now);
  bool UpdateSettings(int64_t id, const std::string& title, const std::string& subtitle, bool hidden, int64_t now);
  bool SetViewPassword(int64_t id, const std::string& viewPassword);
  std::vector<BlogRecord> List();

  bool IsMember(int64_t blog, int64_t user);
  bool AddMember(int64_t blog, int64_t user);

  // Accounts that gave a hidden blog's view password in a change list; each is
  // one while that password stays the blog's.
  bool IsViewer(const BlogRecord& blog, int64_t user);
  bool AddViewer(const BlogRecord& blog, int64_t user);

 private:
  Database& db_;
};

}  // namespace server
