#include "server/AdminCommands.h"

#include <ctime>
#include <fstream>
#include <iterator>

#include "server/AccountOperations.h"
#include "server/BlogStore.h"
#include "server/DataFolder.h"
#include "server/PublishedFileStore.h"
#include "server/ServiceMessages.h"
#include "server/TextRules.h"
#include "server/Transaction.h"
#include "server/UserStore.h"

namespace server {

namespace {

constexpr size_t kMaxPublishedFile = 1024 * 1024;

int64_t Now() { return static_cast<int64_t>(std::time(nullptr)); }

}  // namespace

AdminCommands::AdminCommands(std::filesystem::path dataDir, std::ostream& out, std::ostream& err)
    : dataDir_(std::move(dataDir)), out_(out), err_(err) {}

bool AdminCommands::Open() {
  if (db_.IsOpen()) return true;
  std::string error;
  if (DataFolder::Open(dataDir_, db_, error)) return true;
  err_ << error << "\n";
  return false;
}

int AdminCommands::AddUser(const NewUser& user, int64_t freeQuota) {
  if (!TextRules::IsEmail(user.email)) {
    err_ << "not a usable e-mail address: " << user.email << "\n";
    return 1;
  }
  if (user.password.empty() || TextRules::Check(user.password, TextRules::kPassword) != kOk ||
      TextRules::Check(user.firstName, TextRules::kName) != kOk ||
      TextRules::Check(user.lastName, TextRules::kName) != kOk || user.quota.value_or(0) < 0) {
    err_ << "the password (1 to 63 characters), names (up to 127) or quota are not acceptable\n";
    return 1;
  }
  if (!Open()) return 1;
  Transaction tx(db_);
  UserStore users(db_);
  if (users.FindByEmail(user.email)) {
    err_ << "a user with this e-mail address exists already\n";
    return 1;
  }
  UserRecord record;
  record.email = user.email;
  record.password = user.password;
  record.firstName = user.firstName;
  record.lastName = user.lastName;
  record.pro = user.pro;
  record.quota = user.quota.value_or(user.pro ? 0 : freeQuota);
  int64_t id = users.Add(record, Now());
  if (id == 0 || !tx.Commit()) {
    err_ << "the store could not be written\n";
    return 1;
  }
  out_ << "user " << id << " " << user.email << "\n";
  return 0;
}

int AdminCommands::ListUsers() {
  if (!Open()) return 1;
  Transaction tx(db_);
  UserStore users(db_);
  for (const UserRecord& user : users.List()) {
    out_ << user.id << "\t" << user.email << "\t" << DisplayName(user.firstName, user.lastName, user.email) << "\t"
         << (user.pro ? "pro" : "free") << "\t" << user.quota << "\t" << users.CountOwnedPhotos(user.id) << "\n";
  }
  return 0;
}

int AdminCommands::AddBlog(const NewBlog& blog) {
  if (!TextRules::IsBlogUrl(blog.url) || AccountOperations::IsReserved(blog.url)) {
    err_ << "a blog name is 1 to 31 letters, digits, '-' or '_' and not a name the service uses\n";
    return 1;
  }
  if (TextRules::Check(blog.title, TextRules::kTitle) != kOk ||
      TextRules::Check(blog.subtitle, TextRules::kSubtitle) != kOk ||
      TextRules::Check(blog.viewPassword, TextRules::kPassword) != kOk) {
    err_ << "the title, subtitle or view password is not acceptable\n";
    return 1;
  }
  if (!Open()) return 1;
  Transaction tx(db_);
  UserStore users(db_);
  BlogStore blogs(db_);
  auto owner = users.FindByEmail(blog.ownerEmail);
  if (!owner) {
    err_ << "no user " << blog.ownerEmail << "\n";
    return 1;
  }
  if (blogs.Find(blog.url)) {
    err_ << "a blog named " << blog.url << " exists already\n";
    return 1;
  }
  BlogRecord record;
  record.url = blog.url;
  record.owner = owner->id;
  record.title = blog.title;
  record.subtitle = blog.subtitle;
  record.group = blog.group;
  record.hidden = blog.hidden;
  record.viewPassword = blog.viewPassword;
  record.comments = blog.comments;
  int64_t id = blogs.Add(record, Now());
  if (id == 0 || !users.Subscribe(owner->id, id) || !tx.Commit()) {
    err_ << "the store could not be written\n";
    return 1;
  }
  out_ << "blog " << id << " " << blog.url << "\n";
  return 0;
}

int AdminCommands::SetViewPassword(const std::string& url, const std::string& viewPassword) {
  if (TextRules::Check(viewPassword, TextRules::kPassword) != kOk) {
    err_ << "the view password is not acceptable\n";
    return 1;
  }
  if (!Open()) return 1;
  Transaction tx(db_);
  BlogStore blogs(db_);
  auto blog = blogs.Find(url);
  if (!blog) {
    err_ << "no blog " << url << "\n";
    return 1;
  }
  if (!blogs.SetViewPassword(blog->id, viewPassword) || !tx.Commit()) {
    err_ << "the store could not be written\n";
    return 1;
  }
  return 0;
}

int AdminCommands::AddMember(const std::string& url, const std::string& email) {
  if (!Open()) return 1;
  Transaction tx(db_);
  UserStore users(db_);
  BlogStore blogs(db_);
  auto blog = blogs.Find(url);
  auto user = users.FindByEmail(email);
  if (!blog || !user) {
    err_ << (blog ? "no user " + email : "no blog " + url) << "\n";
    return 1;
  }
  if (!blog->group) {
    err_ << url << " is not a group blog\n";
    return 1;
  }
  // A new member finds the group blog on their list at the next account check.
  if (!blogs.AddMember(blog->id, user->id) || !users.Subscribe(user->id, blog->id) || !tx.Commit()) {
    err_ << "the store could not be written\n";
    return 1;
  }
  return 0;
}

int AdminCommands::AddRemoteBlog(const std::string& email, const std::string& name) {
  if (name.empty() || TextRules::Check(name, 63) != kOk) {
    err_ << "a remote blog name is 1 to 63 characters\n";
    return 1;
  }
  if (!Open()) return 1;
  Transaction tx(db_);
  UserStore users(db_);
  auto user = users.FindByEmail(email);
  if (!user) {
    err_ << "no user " << email << "\n";
    return 1;
  }
  if (!users.AddRemoteBlog(user->id, name) || !tx.Commit()) {
    err_ << "the store could not be written\n";
    return 1;
  }
  return 0;
}

int AdminCommands::SetPublishedFile(const std::string& name, const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    err_ << "cannot read " << file.string() << "\n";
    return 1;
  }
  std::string content;
  char buffer[4096];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    content.append(buffer, static_cast<size_t>(in.gcount()));
    if (content.size() > kMaxPublishedFile) {
      err_ << file.string() << " is larger than 1 MB\n";
      return 1;
    }
  }
  if (!Open()) return 1;
  Transaction tx(db_);
  PublishedFileStore files(db_);
  if (!files.Set(name, content) || !tx.Commit()) {
    err_ << "the store could not be written\n";
    return 1;
  }
  return 0;
}

}  // namespace server
