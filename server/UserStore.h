#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "server/Database.h"
#include "server/Records.h"

namespace server {

// Accounts, their subscription lists, remote blogs and the nonces already used.
// Every call must run inside a Transaction.
class UserStore {
 public:
  explicit UserStore(Database& db) : db_(db) {}

  std::optional<UserRecord> FindByEmail(const std::string& email);
  std::optional<UserRecord> Find(int64_t id);
  // Answers the new id, or 0 when the e-mail address is taken or the store failed.
  int64_t Add(const UserRecord& user, int64_t now);
  std::vector<UserRecord> List();

  // Number of live entries in all blogs the user owns (what a free account's quota counts).
  int64_t CountOwnedPhotos(int64_t user);

  // URL names of the blogs on the user's list, in list order.
  std::vector<std::string> Subscriptions(int64_t user);
  bool ReplaceSubscriptions(int64_t user, const std::vector<int64_t>& blogs);
  // Appends the blog to the user's list unless it is on it already.
  bool Subscribe(int64_t user, int64_t blog);

  std::vector<std::string> RemoteBlogs(int64_t user);
  bool HasRemoteBlog(int64_t user, const std::string& name);
  bool AddRemoteBlog(int64_t user, const std::string& name);

  // Records a nonce until it expires; false when it is still on record (a replay)
  // or the store failed.
  bool UseNonce(const std::string& nonce, int64_t now, int64_t expires);
  bool PurgeNonces(int64_t now);

 private:
  Database& db_;
};

}  // namespace server
