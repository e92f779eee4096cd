#include "server/Database.h"

namespace server {

namespace {

// Times are Unix seconds (UTC). "changed" is when an object was created, edited or
// deleted; deleted objects stay as tombstones so that change lists can report them.
const char* const kSchema = R"sql(
CREATE TABLE IF NOT EXISTS users (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  email TEXT NOT NULL UNIQUE COLLATE NOCASE,
  password TEXT NOT NULL,
  first_name TEXT NOT NULL DEFAULT '',
  last_name TEXT NOT NULL DEFAULT '',
  pro INTEGER NOT NULL DEFAULT 0,
  quota INTEGER NOT NULL DEFAULT 0,
  created INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS blogs (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  url TEXT NOT NULL UNIQUE COLLATE NOCASE,
  owner INTEGER NOT NULL REFERENCES users(id),
  title TEXT NOT NULL DEFAULT '',
  subtitle TEXT NOT NULL DEFAULT '',
  is_group INTEGER NOT NULL DEFAULT 0,
  hidden INTEGER NOT NULL DEFAULT 0,
  view_password TEXT NOT NULL DEFAULT '',
  comments INTEGER NOT NULL DEFAULT 1,
  changed INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS members (
  blog INTEGER NOT NULL REFERENCES blogs(id),
  user INTEGER NOT NULL REFERENCES users(id),
  PRIMARY KEY (blog, user));
CREATE TABLE IF NOT EXISTS viewers (
  blog INTEGER NOT NULL REFERENCES blogs(id),
  user INTEGER NOT NULL REFERENCES users(id),
  view_password_digest TEXT NOT NULL,
  PRIMARY KEY (blog, user));
CREATE TABLE IF NOT EXISTS subscriptions (
  user INTEGER NOT NULL REFERENCES users(id),
  blog INTEGER NOT NULL REFERENCES blogs(id),
  position INTEGER NOT NULL,
  PRIMARY KEY (user, blog));
CREATE TABLE IF NOT EXISTS remote_blogs (
  user INTEGER NOT NULL REFERENCES users(id),
  name TEXT NOT NULL,
  PRIMARY KEY (user, name));
CREATE TABLE IF NOT EXISTS categories (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  blog INTEGER NOT NULL REFERENCES blogs(id),
  name TEXT NOT NULL,
  deleted INTEGER NOT NULL DEFAULT 0,
  changed INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS categories_blog ON categories(blog, changed);
CREATE TABLE IF NOT EXISTS entries (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  blog INTEGER NOT NULL REFERENCES blogs(id),
  category INTEGER NOT NULL DEFAULT 0,
  author INTEGER NOT NULL REFERENCES users(id),
  title TEXT NOT NULL DEFAULT '',
  caption TEXT NOT NULL DEFAULT '',
  date_text TEXT NOT NULL,
  date2_text TEXT NOT NULL,
  sort_time INTEGER NOT NULL,
  photo_key TEXT NOT NULL,
  width INTEGER NOT NULL,
  height INTEGER NOT NULL,
  deleted INTEGER NOT NULL DEFAULT 0,
  changed INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS entries_blog_changed ON entries(blog, changed);
CREATE INDEX IF NOT EXISTS entries_blog_sort ON entries(blog, deleted, sort_time);
CREATE TABLE IF NOT EXISTS comments (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  blog INTEGER NOT NULL REFERENCES blogs(id),
  entry INTEGER NOT NULL REFERENCES entries(id),
  author INTEGER NOT NULL REFERENCES users(id),
  date_text TEXT NOT NULL,
  text TEXT NOT NULL,
  deleted INTEGER NOT NULL DEFAULT 0,
  changed INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS comments_blog_changed ON comments(blog, changed);
CREATE INDEX IF NOT EXISTS comments_entry ON comments(entry);
CREATE TABLE IF NOT EXISTS nonces (
  value TEXT PRIMARY KEY,
  expires INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS outbox (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  user INTEGER NOT NULL REFERENCES users(id),
  blog INTEGER NOT NULL REFERENCES blogs(id),
  category INTEGER NOT NULL,
  entry INTEGER NOT NULL,
  recipients TEXT NOT NULL,
  message TEXT NOT NULL,
  created INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS remote_posts (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  user INTEGER NOT NULL REFERENCES users(id),
  blog INTEGER NOT NULL REFERENCES blogs(id),
  remote_blog TEXT NOT NULL,
  category INTEGER NOT NULL,
  entry INTEGER NOT NULL,
  title TEXT NOT NULL,
  caption TEXT NOT NULL,
  created INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS files (
  name TEXT PRIMARY KEY,
  content BLOB NOT NULL);
)sql";

}  // namespace

Database::~Database() {
  for (auto& [sql, stmt] : cache_) sqlite3_finalize(stmt);
  if (db_ != nullptr) sqlite3_close(db_);
}

bool Database::Open(const std::filesystem::path& file) {
  if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                      nullptr) != SQLITE_OK) {
    if (db_ != nullptr) sqlite3_close(db_);
    db_ = nullptr;
    return false;
  }
  sqlite3_busy_timeout(db_, 5000);
  std::lock_guard lock(mutex_);
  if (!Exec("PRAGMA journal_mode=WAL") || !Exec("PRAGMA synchronous=NORMAL") || !Exec("PRAGMA foreign_keys=ON") ||
      !CreateSchema()) {
    sqlite3_close(db_);
    db_ = nullptr;
    return false;
  }
  return true;
}

bool Database::CreateSchema() { return Exec(kSchema); }

Statement Database::Prepare(const char* sql) {
  auto found = cache_.find(sql);
  if (found != cache_.end()) return Statement(found->second);
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK) {
    sqlite3_finalize(stmt);
    return Statement(nullptr);
  }
  cache_.emplace(sql, stmt);
  return Statement(stmt);
}

bool Database::Exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

int64_t Database::LastInsertId() const { return sqlite3_last_insert_rowid(db_); }

int Database::Changes() const { return sqlite3_changes(db_); }

}  // namespace server
