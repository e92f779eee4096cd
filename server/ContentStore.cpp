#include "server/ContentStore.h"

namespace server {

namespace {

#define ENTRY_COLUMNS                                                                                   \
  "entries.id, entries.blog, entries.category, entries.author, users.first_name, users.last_name, "   \
  "users.email, entries.title, entries.caption, entries.date_text, entries.date2_text, "              \
  "entries.sort_time, entries.photo_key, entries.width, entries.height, entries.deleted "             \
  "FROM entries JOIN users ON entries.author = users.id "

#define COMMENT_COLUMNS                                                                                 \
  "comments.id, comments.blog, comments.entry, comments.author, users.first_name, users.last_name, "  \
  "users.email, comments.date_text, comments.text, comments.deleted "                                  \
  "FROM comments JOIN users ON comments.author = users.id "

CategoryRecord ReadCategory(const Statement& st) {
  CategoryRecord category;
  category.id = st.Int(0);
  category.blog = st.Int(1);
  category.name = st.Text(2);
  category.deleted = st.Int(3) != 0;
  return category;
}

EntryRecord ReadEntry(const Statement& st) {
  EntryRecord entry;
  entry.id = st.Int(0);
  entry.blog = st.Int(1);
  entry.category = st.Int(2);
  entry.author = st.Int(3);
  entry.authorName = DisplayName(st.Text(4), st.Text(5), st.Text(6));
  entry.title = st.Text(7);
  entry.caption = st.Text(8);
  entry.dateText = st.Text(9);
  entry.date2Text = st.Text(10);
  entry.sortTime = st.Int(11);
  entry.photoKey = st.Text(12);
  entry.width = st.Int(13);
  entry.height = st.Int(14);
  entry.deleted = st.Int(15) != 0;
  return entry;
}

CommentRecord ReadComment(const Statement& st) {
  CommentRecord comment;
  comment.id = st.Int(0);
  comment.blog = st.Int(1);
  comment.entry = st.Int(2);
  comment.author = st.Int(3);
  comment.authorName = DisplayName(st.Text(4), st.Text(5), st.Text(6));
  comment.dateText = st.Text(7);
  comment.text = st.Text(8);
  comment.deleted = st.Int(9) != 0;
  return comment;
}

}  // namespace

std::optional<CategoryRecord> ContentStore::FindCategory(int64_t id) {
  Statement st = db_.Prepare("SELECT id, blog, name, deleted FROM categories WHERE id = ?1");
  st.Bind(1, id);
  if (!st.Step()) return std::nullopt;
  return ReadCategory(st);
}

std::optional<CategoryRecord> ContentStore::FindCategoryByName(int64_t blog, const std::string& name) {
  Statement st = db_.Prepare(
      "SELECT id, blog, name, deleted FROM categories WHERE blog = ?1 AND deleted = 0 AND name = ?2 COLLATE NOCASE");
  st.Bind(1, blog).Bind(2, name);
  if (!st.Step()) return std::nullopt;
  return ReadCategory(st);
}

int64_t ContentStore::AddCategory(int64_t blog, const std::string& name, int64_t now) {
  Statement st = db_.Prepare("INSERT INTO categories (blog, name, changed) VALUES (?1, ?2, ?3)");
  st.Bind(1, blog).Bind(2, name).Bind(3, now);
  return st.Run() ? db_.LastInsertId() : 0;
}

bool ContentStore::RenameCategory(int64_t id, const std::string& name, int64_t now) {
  Statement st = db_.Prepare("UPDATE categories SET name = ?2, changed = ?3 WHERE id = ?1");
  st.Bind(1, id).Bind(2, name).Bind(3, now);
  return st.Run();
}

bool ContentStore::DeleteCategory(int64_t id, int64_t now) {
  Statement st = db_.Prepare("UPDATE categories SET deleted = 1, changed = ?2 WHERE id = ?1 AND deleted = 0");
  st.Bind(1, id).Bind(2, now);
  if (!st.Run()) return false;
  Statement refile = db_.Prepare("UPDATE entries SET category = 0, changed = ?2 WHERE category = ?1 AND deleted = 0");
  refile.Bind(1, id).Bind(2, now);
  return refile.Run();
}

std::vector<CategoryRecord> ContentStore::Categories(int64_t blog, int64_t since) {
  Statement st = since == kLiveOnly
                     ? db_.Prepare("SELECT id, blog, name, deleted FROM categories WHERE blog = ?1 AND deleted = 0 "
                                   "ORDER BY id")
                     : db_.Prepare("SELECT id, blog, name, deleted FROM categories WHERE blog = ?1 AND changed >= ?2 "
                                   "ORDER BY id");
  st.Bind(1, blog);
  if (since != kLiveOnly) st.Bind(2, since);
  std::vector<CategoryRecord> categories;
  while (st.Step()) categories.push_back(ReadCategory(st));
  return categories;
}

std::optional<EntryRecord> ContentStore::FindEntry(int64_t id) {
  Statement st = db_.Prepare("SELECT " ENTRY_COLUMNS "WHERE entries.id = ?1");
  st.Bind(1, id);
  if (!st.Step()) return std::nullopt;
  return ReadEntry(st);
}

int64_t ContentStore::AddEntry(const EntryRecord& entry, int64_t now) {
  Statement st = db_.Prepare(
      "INSERT INTO entries (blog, category, author, title, caption, date_text, date2_text, sort_time, photo_key, "
      "width, height, changed) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)");
  st.Bind(1, entry.blog).Bind(2, entry.category).Bind(3, entry.author).Bind(4, entry.title).Bind(5, entry.caption);
  st.Bind(6, entry.dateText).Bind(7, entry.date2Text).Bind(8, entry.sortTime).Bind(9, entry.photoKey);
  st.Bind(10, entry.width).Bind(11, entry.height).Bind(12, now);
  return st.Run() ? db_.LastInsertId() : 0;
}

bool ContentStore::UpdateEntry(const EntryRecord& entry, int64_t now) {
  Statement st = db_.Prepare(
      "UPDATE entries SET category = ?2, title = ?3, caption = ?4, date_text = ?5, date2_text = ?6, "
      "sort_time = ?7, changed = ?8 WHERE id = ?1");
  st.Bind(1, entry.id).Bind(2, entry.category).Bind(3, entry.title).Bind(4, entry.caption);
  st.Bind(5, entry.dateText).Bind(6, entry.date2Text).Bind(7, entry.sortTime).Bind(8, now);
  return st.Run();
}

bool ContentStore::DeleteEntry(int64_t id, int64_t now) {
  Statement st = db_.Prepare("UPDATE entries SET deleted = 1, changed = ?2 WHERE id = ?1 AND deleted = 0");
  st.Bind(1, id).Bind(2, now);
  if (!st.Run()) return false;
  Statement comments = db_.Prepare("UPDATE comments SET deleted = 1, changed = ?2 WHERE entry = ?1 AND deleted = 0");
  comments.Bind(1, id).Bind(2, now);
  return comments.Run();
}

std::vector<EntryRecord> ContentStore::Entries(int64_t blog, int64_t since, int64_t limit) {
  Statement st = since == kLiveOnly
                     ? db_.Prepare("SELECT " ENTRY_COLUMNS
                                   "WHERE entries.blog = ?1 AND entries.deleted = 0 "
                                   "ORDER BY entries.sort_time DESC, entries.id DESC LIMIT ?2")
                     : db_.Prepare("SELECT " ENTRY_COLUMNS
                                   "WHERE entries.blog = ?1 AND entries.changed >= ?2 ORDER BY entries.id");
  st.Bind(1, blog);
  st.Bind(2, since == kLiveOnly ? (limit > 0 ? limit : int64_t{-1}) : since);
  std::vector<EntryRecord> entries;
  while (st.Step()) entries.push_back(ReadEntry(st));
  return entries;
}

std::vector<EntryRecord> ContentStore::EntryPage(int64_t blog, int64_t category, int64_t offset, int64_t count) {
  Statement st = db_.Prepare("SELECT " ENTRY_COLUMNS
                             "WHERE entries.blog = ?1 AND entries.deleted = 0 AND (?2 < 0 OR entries.category = ?2) "
                             "ORDER BY entries.sort_time DESC, entries.id DESC LIMIT ?3 OFFSET ?4");
  st.Bind(1, blog);
  st.Bind(2, category);
  st.Bind(3, count);
  st.Bind(4, offset);
  std::vector<EntryRecord> entries;
  while (st.Step()) entries.push_back(ReadEntry(st));
  return entries;
}

int64_t ContentStore::CountEntries(int64_t blog, int64_t category) {
  Statement st =
      db_.Prepare("SELECT COUNT(*) FROM entries WHERE blog = ?1 AND deleted = 0 AND (?2 < 0 OR category = ?2)");
  st.Bind(1, blog);
  st.Bind(2, category);
  return st.Step() ? st.Int(0) : 0;
}

std::optional<EntryRecord> ContentStore::Neighbour(const EntryRecord& entry, bool newer) {
  Statement st = newer ? db_.Prepare("SELECT " ENTRY_COLUMNS
                                     "WHERE entries.blog = ?1 AND entries.deleted = 0 AND (entries.sort_time > ?2 OR "
                                     "(entries.sort_time = ?2 AND entries.id > ?3)) "
                                     "ORDER BY entries.sort_time, entries.id LIMIT 1")
                       : db_.Prepare("SELECT " ENTRY_COLUMNS
                                     "WHERE entries.blog = ?1 AND entries.deleted = 0 AND (entries.sort_time < ?2 OR "
                                     "(entries.sort_time = ?2 AND entries.id < ?3)) "
                                     "ORDER BY entries.sort_time DESC, entries.id DESC LIMIT 1");
  st.Bind(1, entry.blog);
  st.Bind(2, entry.sortTime);
  st.Bind(3, entry.id);
  if (!st.Step()) return std::nullopt;
  return ReadEntry(st);
}

std::vector<std::string> ContentStore::LivePhotoKeys() {
  Statement st = db_.Prepare("SELECT photo_key FROM entries WHERE deleted = 0");
  std::vector<std::string> keys;
  while (st.Step()) keys.push_back(st.Text(0));
  return keys;
}

std::optional<CommentRecord> ContentStore::FindComment(int64_t id) {
  Statement st = db_.Prepare("SELECT " COMMENT_COLUMNS "WHERE comments.id = ?1");
  st.Bind(1, id);
  if (!st.Step()) return std::nullopt;
  return ReadComment(st);
}

int64_t ContentStore::AddComment(const CommentRecord& comment, int64_t now) {
  Statement st = db_.Prepare(
      "INSERT INTO comments (blog, entry, author, date_text, text, changed) VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
  st.Bind(1, comment.blog).Bind(2, comment.entry).Bind(3, comment.author).Bind(4, comment.dateText);
  st.Bind(5, comment.text).Bind(6, now);
  return st.Run() ? db_.LastInsertId() : 0;
}

bool ContentStore::UpdateComment(int64_t id, const std::string& dateText, const std::string& text, int64_t now) {
  Statement st = db_.Prepare("UPDATE comments SET date_text = ?2, text = ?3, changed = ?4 WHERE id = ?1");
  st.Bind(1, id).Bind(2, dateText).Bind(3, text).Bind(4, now);
  return st.Run();
}

bool ContentStore::DeleteComment(int64_t id, int64_t now) {
  Statement st = db_.Prepare("UPDATE comments SET deleted = 1, changed = ?2 WHERE id = ?1 AND deleted = 0");
  st.Bind(1, id).Bind(2, now);
  return st.Run();
}

std::vector<CommentRecord> ContentStore::Comments(int64_t blog, int64_t since) {
  Statement st = since == kLiveOnly
                     ? db_.Prepare("SELECT " COMMENT_COLUMNS
                                   "JOIN entries ON comments.entry = entries.id "
                                   "WHERE comments.blog = ?1 AND comments.deleted = 0 AND entries.deleted = 0 "
                                   "ORDER BY comments.id")
                     : db_.Prepare("SELECT " COMMENT_COLUMNS
                                   "WHERE comments.blog = ?1 AND comments.changed >= ?2 ORDER BY comments.id");
  st.Bind(1, blog);
  if (since != kLiveOnly) st.Bind(2, since);
  std::vector<CommentRecord> comments;
  while (st.Step()) comments.push_back(ReadComment(st));
  return comments;
}

std::vector<CommentRecord> ContentStore::CommentsOf(int64_t entry) {
  Statement st = db_.Prepare("SELECT " COMMENT_COLUMNS "WHERE comments.entry = ?1 AND comments.deleted = 0 "
                             "ORDER BY comments.id");
  st.Bind(1, entry);
  std::vector<CommentRecord> comments;
  while (st.Step()) comments.push_back(ReadComment(st));
  return comments;
}

}  // namespace server
