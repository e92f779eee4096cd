#pragma once

#include <mutex>

#include "server/Database.h"

namespace server {

// One request's unit of work: holds the database lock, begins an immediate
// transaction and rolls it back unless Commit() succeeded. A savepoint lets a
// request keep part of its work (the nonce it used) when the rest is refused.
class Transaction {
 public:
  explicit Transaction(Database& db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  bool Active() const { return active_; }
  bool Commit();
  bool Savepoint();
  bool RollbackToSavepoint();

 private:
  Database& db_;
  std::unique_lock<std::mutex> lock_;
  bool active_ = false;
};

}  // namespace server
