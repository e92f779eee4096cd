#include "server/PublishedFileStore.h"

namespace server {

bool PublishedFileStore::Set(const std::string& name, const std::string& content) {
  Statement st = db_.Prepare("INSERT OR REPLACE INTO files (name, content) VALUES (?1, ?2)");
  st.Bind(1, name).Bind(2, content);
  return st.Run();
}

std::optional<std::string> PublishedFileStore::Get(const std::string& name) {
  Statement st = db_.Prepare("SELECT content FROM files WHERE name = ?1");
  st.Bind(1, name);
  if (!st.Step()) return std::nullopt;
  return st.Text(0);
}

}  // namespace server
