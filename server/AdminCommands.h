#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "server/Database.h"

namespace server {

// The administration subcommands of tessary-service, working on the data folder
// directly. Each answers an exit status (0 success, 1 refused or failed) and
// writes what went wrong to the error stream.
class AdminCommands {
 public:
  AdminCommands(std::filesystem::path dataDir, std::ostream& out, std::ostream& err);

  struct NewUser {
    std::string email;
    std::string password;
    std::string firstName;
    std::string lastName;
    bool pro = false;
    std::optional<int64_t> quota;
  };
  struct NewBlog {
    std::string url;
    std::string ownerEmail;
    std::string title;
    std::string subtitle;
    bool group = false;
    bool hidden = false;
    std::string viewPassword;
    bool comments = true;
  };

  int AddUser(const NewUser& user, int64_t freeQuota);
  int ListUsers();
  int AddBlog(const NewBlog& blog);
  // Accounts that gave the old view password must give the new one.
  int SetViewPassword(const std::string& url, const std::string& viewPassword);
  int AddMember(const std::string& url, const std::string& email);
  int AddRemoteBlog(const std::string& email, const std::string& name);
  // Publishes a file: the version/notes file or the channels file.
  int SetPublishedFile(const std::string& name, const std::filesystem::path& file);

 private:
  bool Open();

  std::filesystem::path dataDir_;
  std::ostream& out_;
  std::ostream& err_;
  Database db_;
};

}  // namespace server
