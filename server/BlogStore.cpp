#include "server/BlogStore.h"

#include "server/Crypto.h"

namespace server {

namespace {

#define BLOG_COLUMNS "id, url, owner, title, subtitle, is_group, hidden, view_password, comments"

BlogRecord ReadBlog(const Statement& st) {
  BlogRecord blog;
  blog.id = st.Int(0);
  blog.url = st.Text(1);
  blog.owner = st.Int(2);
  blog.title = st.Text(3);
  blog.subtitle = st.Text(4);
  blog.group = st.Int(5) != 0;
  blog.hidden = st.Int(6) != 0;
  blog.viewPassword = st.Text(7);
  blog.comments = st.Int(8) != 0;
  return blog;
}

}  // namespace

std::optional<BlogRecord> BlogStore::Find(const std::string& url) {
  Statement st = db_.Prepare("SELECT " BLOG_COLUMNS " FROM blogs WHERE url = ?1");
  st.Bind(1, url);
  if (!st.Step()) return std::nullopt;
  return ReadBlog(st);
}

std::optional<BlogRecord> BlogStore::Find(int64_t id) {
  Statement st = db_.Prepare("SELECT " BLOG_COLUMNS " FROM blogs WHERE id = ?1");
  st.Bind(1, id);
  if (!st.Step()) return std::nullopt;
  return ReadBlog(st);
}

int64_t BlogStore::Add(const BlogRecord& blog, int64_t now) {
  Statement st = db_.Prepare(
      "INSERT OR IGNORE INTO blogs (url, owner, title, subtitle, is_group, hidden, view_password, comments, changed) "
      "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
  st.Bind(1, blog.url).Bind(2, blog.owner).Bind(3, blog.title).Bind(4, blog.subtitle);
  st.Bind(5, int64_t{blog.group ? 1 : 0}).Bind(6, int64_t{blog.hidden ? 1 : 0}).Bind(7, blog.viewPassword);
  st.Bind(8, int64_t{blog.comments ? 1 : 0}).Bind(9, now);
  if (!st.Run() || db_.Changes() != 1) return 0;
  return db_.LastInsertId();
}

bool BlogStore::UpdateSettings(int64_t id, const std::string& title, const std::string& subtitle, bool hidden,
                               int64_t now) {
  Statement st = db_.Prepare("UPDATE blogs SET title = ?2, subtitle = ?3, hidden = ?4, changed = ?5 WHERE id = ?1");
  st.Bind(1, id).Bind(2, title).Bind(3, subtitle).Bind(4, int64_t{hidden ? 1 : 0}).Bind(5, now);
  return st.Run();
}

bool BlogStore::SetViewPassword(int64_t id, const std::string& viewPassword) {
  Statement st = db_.Prepare("UPDATE blogs SET view_password = ?2 WHERE id = ?1");
  st.Bind(1, id).Bind(2, viewPassword);
  return st.Run();
}

std::vector<BlogRecord> BlogStore::List() {
  Statement st = db_.Prepare("SELECT " BLOG_COLUMNS " FROM blogs ORDER BY id");
  std::vector<BlogRecord> blogs;
  while (st.Step()) blogs.push_back(ReadBlog(st));
  return blogs;
}

bool BlogStore::IsMember(int64_t blog, int64_t user) {
  Statement st = db_.Prepare("SELECT 1 FROM members WHERE blog = ?1 AND user = ?2");
  st.Bind(1, blog).Bind(2, user);
  return st.Step();
}

bool BlogStore::AddMember(int64_t blog, int64_t user) {
  Statement st = db_.Prepare("INSERT OR IGNORE INTO members (blog, user) VALUES (?1, ?2)");
  st.Bind(1, blog).Bind(2, user);
  return st.Run();
}

bool BlogStore::IsViewer(const BlogRecord& blog, int64_t user) {
  Statement st = db_.Prepare("SELECT view_password_digest FROM viewers WHERE blog = ?1 AND user = ?2");
  st.Bind(1, blog.id).Bind(2, user);
  return st.Step() && !blog.viewPassword.empty() && st.Text(0) == Crypto::Sha1Base64(blog.viewPassword);
}

bool BlogStore::AddViewer(const BlogRecord& blog, int64_t user) {
  Statement st = db_.Prepare("INSERT OR REPLACE INTO viewers (blog, user, view_password_digest) VALUES (?1, ?2, ?3)");
  st.Bind(1, blog.id).Bind(2, user).Bind(3, Crypto::Sha1Base64(blog.viewPassword));
  return st.Run();
}

}  // namespace server
