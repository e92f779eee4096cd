#include "server/UserStore.h"

namespace server {

namespace {

constexpr const char* kUserColumns = "id, email, password, first_name, last_name, pro, quota";

UserRecord ReadUser(const Statement& st) {
  UserRecord user;
  user.id = st.Int(0);
  user.email = st.Text(1);
  user.password = st.Text(2);
  user.firstName = st.Text(3);
  user.lastName = st.Text(4);
  user.pro = st.Int(5) != 0;
  user.quota = st.Int(6);
  return user;
}

}  // namespace

std::optional<UserRecord> UserStore::FindByEmail(const std::string& email) {
  static const std::string sql = std::string("SELECT ") + kUserColumns + " FROM users WHERE email = ?1";
  Statement st = db_.Prepare(sql.c_str());
  st.Bind(1, email);
  if (!st.Step()) return std::nullopt;
  return ReadUser(st);
}

std::optional<UserRecord> UserStore::Find(int64_t id) {
  static const std::string sql = std::string("SELECT ") + kUserColumns + " FROM users WHERE id = ?1";
  Statement st = db_.Prepare(sql.c_str());
  st.Bind(1, id);
  if (!st.Step()) return std::nullopt;
  return ReadUser(st);
}

int64_t UserStore::Add(const UserRecord& user, int64_t now) {
  Statement st = db_.Prepare(
      "INSERT OR IGNORE INTO users (email, password, first_name, last_name, pro, quota, created) "
      "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
  st.Bind(1, user.email).Bind(2, user.password).Bind(3, user.firstName).Bind(4, user.lastName);
  st.Bind(5, int64_t{user.pro ? 1 : 0}).Bind(6, user.quota).Bind(7, now);
  if (!st.Run() || db_.Changes() != 1) return 0;
  return db_.LastInsertId();
}

std::vector<UserRecord> UserStore::List() {
  static const std::string sql = std::string("SELECT ") + kUserColumns + " FROM users ORDER BY id";
  Statement st = db_.Prepare(sql.c_str());
  std::vector<UserRecord> users;
  while (st.Step()) users.push_back(ReadUser(st));
  return users;
}

int64_t UserStore::CountOwnedPhotos(int64_t user) {
  Statement st = db_.Prepare(
      "SELECT COUNT(*) FROM entries JOIN blogs ON entries.blog = blogs.id "
      "WHERE blogs.owner = ?1 AND entries.deleted = 0");
  st.Bind(1, user);
  return st.Step() ? st.Int(0) : 0;
}

std::vector<std::string> UserStore::Subscriptions(int64_t user) {
  Statement st = db_.Prepare(
      "SELECT blogs.url FROM subscriptions JOIN blogs ON subscriptions.blog = blogs.id "
      "WHERE subscriptions.user = ?1 ORDER BY subscriptions.position");
  st.Bind(1, user);
  std::vector<std::string> names;
  while (st.Step()) names.push_back(st.Text(0));
  return names;
}

bool UserStore::ReplaceSubscriptions(int64_t user, const std::vector<int64_t>& blogs) {
  Statement clear = db_.Prepare("DELETE FROM subscriptions WHERE user = ?1");
  clear.Bind(1, user);
  if (!clear.Run()) return false;
  int64_t position = 0;
  for (int64_t blog : blogs) {
    Statement add = db_.Prepare("INSERT OR IGNORE INTO subscriptions (user, blog, position) VALUES (?1, ?2, ?3)");
    add.Bind(1, user).Bind(2, blog).Bind(3, position++);
    if (!add.Run()) return false;
  }
  return true;
}

bool UserStore::Subscribe(int64_t user, int64_t blog) {
  Statement st = db_.Prepare(
      "INSERT OR IGNORE INTO subscriptions (user, blog, position) "
      "SELECT ?1, ?2, COALESCE(MAX(position), -1) + 1 FROM subscriptions WHERE user = ?1");
  st.Bind(1, user).Bind(2, blog);
  return st.Run();
}

std::vector<std::string> UserStore::RemoteBlogs(int64_t user) {
  Statement st = db_.Prepare("SELECT name FROM remote_blogs WHERE user = ?1 ORDER BY rowid");
  st.Bind(1, user);
  std::vector<std::string> names;
  while (st.Step()) names.push_back(st.Text(0));
  return names;
}

bool UserStore::HasRemoteBlog(int64_t user, const std::string& name) {
  Statement st = db_.Prepare("SELECT 1 FROM remote_blogs WHERE user = ?1 AND name = ?2");
  st.Bind(1, user).Bind(2, name);
  return st.Step();
}

bool UserStore::AddRemoteBlog(int64_t user, const std::string& name) {
  Statement st = db_.Prepare("INSERT OR IGNORE INTO remote_blogs (user, name) VALUES (?1, ?2)");
  st.Bind(1, user).Bind(2, name);
  return st.Run();
}

bool UserStore::UseNonce(const std::string& nonce, int64_t now, int64_t expires) {
  Statement purge = db_.Prepare("DELETE FROM nonces WHERE value = ?1 AND expires < ?2");
  purge.Bind(1, nonce).Bind(2, now);
  if (!purge.Run()) return false;
  Statement st = db_.Prepare("INSERT OR IGNORE INTO nonces (value, expires) VALUES (?1, ?2)");
  st.Bind(1, nonce).Bind(2, expires);
  return st.Run() && db_.Changes() == 1;
}

bool UserStore::PurgeNonces(int64_t now) {
  Statement st = db_.Prepare("DELETE FROM nonces WHERE expires < ?1");
  st.Bind(1, now);
  return st.Run();
}

}  // namespace server
