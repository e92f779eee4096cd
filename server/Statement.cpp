#include "server/Statement.h"

namespace server {

Statement::Statement(sqlite3_stmt* stmt) : stmt_(stmt), failed_(stmt == nullptr) {}

Statement::~Statement() {
  if (stmt_ != nullptr) {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }
}

Statement& Statement::Bind(int index, int64_t value) {
  if (stmt_ != nullptr && sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) failed_ = true;
  return *this;
}

Statement& Statement::Bind(int index, std::string_view text) {
  if (stmt_ != nullptr &&
      sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8) != SQLITE_OK) {
    failed_ = true;
  }
  return *this;
}

bool Statement::Step() {
  if (stmt_ == nullptr || failed_) return false;
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc != SQLITE_DONE) failed_ = true;
  return false;
}

bool Statement::Run() {
  while (Step()) {
  }
  return !failed_;
}

int64_t Statement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string Statement::Text(int column) const { return std::string(View(column)); }

std::string_view Statement::View(int column) const {
  const unsigned char* text = sqlite3_column_text(stmt_, column);
  if (text == nullptr) return {};
  return {reinterpret_cast<const char*>(text), static_cast<size_t>(sqlite3_column_bytes(stmt_, column))};
}

}  // namespace server
