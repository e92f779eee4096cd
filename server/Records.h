#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace server {

// Rows of the store as the operations use them.

struct UserRecord {
  int64_t id = 0;
  std::string email;
  std::string password;
  std::string firstName;
  std::string lastName;
  bool pro = false;
  int64_t quota = 0;
};

struct BlogRecord {
  int64_t id = 0;
  std::string url;
  int64_t owner = 0;
  std::string title;
  std::string subtitle;
  bool group = false;
  bool hidden = false;
  std::string viewPassword;
  bool comments = true;
};

struct CategoryRecord {
  int64_t id = 0;
  int64_t blog = 0;
  std::string name;
  bool deleted = false;
};

struct EntryRecord {
  int64_t id = 0;
  int64_t blog = 0;
  int64_t category = 0;
  int64_t author = 0;
  std::string authorName;
  std::string title;
  std::string caption;
  std::string dateText;
  std::string date2Text;
  int64_t sortTime = 0;
  std::string photoKey;
  int64_t width = 0;
  int64_t height = 0;
  bool deleted = false;
};

struct CommentRecord {
  int64_t id = 0;
  int64_t blog = 0;
  int64_t entry = 0;
  int64_t author = 0;
  std::string authorName;
  std::string dateText;
  std::string text;
  bool deleted = false;
};

// The name shown for a user: first and last name, or the part of the e-mail
// address before "@" when the account has no name.
std::string DisplayName(std::string_view first, std::string_view last, std::string_view email);

}  // namespace server
