#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <string>

#include "server/Statement.h"

namespace server {

// The service's SQLite store: one connection in WAL mode with a cache of
// prepared statements. Every request works inside one Transaction, which holds
// the connection's lock, so requests are applied one after another.
class Database {
 public:
  Database() = default;
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Opens (creating when needed) the store file and brings its schema up to date.
  bool Open(const std::filesystem::path& file);
  bool IsOpen() const { return db_ != nullptr; }

  // Only valid while a Transaction on this database is alive.
  Statement Prepare(const char* sql);
  bool Exec(const char* sql);
  int64_t LastInsertId() const;
  int Changes() const;

  std::mutex& Lock() { return mutex_; }

 private:
  bool CreateSchema();

  sqlite3* db_ = nullptr;
  std::map<std::string, sqlite3_stmt*> cache_;
  std::mutex mutex_;
};

}  // namespace server
