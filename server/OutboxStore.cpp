#include "server/OutboxStore.h"

namespace server {

int64_t OutboxStore::AddMail(const Mail& mail, int64_t now) {
  Statement st = db_.Prepare(
      "INSERT INTO outbox (user, blog, category, entry, recipients, message, created) "
      "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
  st.Bind(1, mail.user).Bind(2, mail.blog).Bind(3, mail.category).Bind(4, mail.entry);
  st.Bind(5, mail.recipients).Bind(6, mail.message).Bind(7, now);
  return st.Run() ? db_.LastInsertId() : 0;
}

int64_t OutboxStore::AddRemotePost(const RemotePost& post, int64_t now) {
  Statement st = db_.Prepare(
      "INSERT INTO remote_posts (user, blog, remote_blog, category, entry, title, caption, created) "
      "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
  st.Bind(1, post.user).Bind(2, post.blog).Bind(3, post.remoteBlog).Bind(4, post.category).Bind(5, post.entry);
  st.Bind(6, post.title).Bind(7, post.caption).Bind(8, now);
  return st.Run() ? db_.LastInsertId() : 0;
}

}  // namespace server
