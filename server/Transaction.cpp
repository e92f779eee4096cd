#include "server/Transaction.h"

namespace server {

Transaction::Transaction(Database& db) : db_(db), lock_(db.Lock()) { active_ = db_.Exec("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
  if (active_) db_.Exec("ROLLBACK");
}

bool Transaction::Commit() {
  if (!active_) return false;
  if (!db_.Exec("COMMIT")) return false;
  active_ = false;
  return true;
}

bool Transaction::Savepoint() { return active_ && db_.Exec("SAVEPOINT work"); }

bool Transaction::RollbackToSavepoint() { return active_ && db_.Exec("ROLLBACK TO work"); }

}  // namespace server
