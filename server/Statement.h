#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace server {

// A prepared statement borrowed from the database's cache for one use: bound,
// stepped, and reset when it goes out of scope.
class Statement {
 public:
  explicit Statement(sqlite3_stmt* stmt);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool Valid() const { return stmt_ != nullptr; }
  Statement& Bind(int index, int64_t value);
  Statement& Bind(int index, std::string_view text);
  // True while a row is available; false at the end or on an error (see Failed()).
  bool Step();
  // Runs to completion; answers true when the statement finished without error.
  bool Run();
  bool Failed() const { return failed_; }

  int64_t Int(int column) const;
  std::string Text(int column) const;
  // The column's text where the row holds it: valid until the next Step.
  std::string_view View(int column) const;

 private:
  sqlite3_stmt* stmt_;
  bool failed_ = false;
};

}  // namespace server
