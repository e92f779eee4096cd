#include "tests/e2e/E2eService.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "server/AdminCommands.h"
#include "server/BlogStore.h"
#include "server/ContentStore.h"
#include "server/DataFolder.h"
#include "server/Transaction.h"
#include "service/ServiceSettings.h"

namespace e2e {

E2eService::E2eService() {
  std::random_device random;
  dir_ = std::filesystem::temp_directory_path() / ("tessary-e2e-" + std::to_string(random()));
  Start();
}

E2eService::~E2eService() {
  Stop();
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

void E2eService::Start() {
  server::ServiceConfig config;
  config.dataDir = dir_;
  config.publicHost = publicHost_;
  service_ = std::make_unique<server::HttpService>(config);
  std::string error;
  const bool started = service_->Start("127.0.0.1", port_, error);
  ASSERT_TRUE(started) << error;
  port_ = service_->Port();
  thread_ = std::thread([this] { service_->Run(); });
  ASSERT_TRUE(service_->WaitUntilRunning());
  UseClientPort(port_);
}

void E2eService::Stop() {
  if (!service_) return;
  service_->Stop();
  if (thread_.joinable()) thread_.join();
  service_.reset();
}

void E2eService::Restart(const std::string& publicHost) {
  Stop();
  publicHost_ = publicHost;
  Start();
}

void E2eService::UseClientPort(int port) {
  service::ServiceSettings& settings = service::ServiceSettings::Current();
  settings.host = "127.0.0.1";
  settings.numericAddress = "127.0.0.1";
  settings.port = static_cast<uint16_t>(port);
}

void E2eService::AddUser(const std::string& email, const std::string& password) {
  std::ostringstream out, err;
  server::AdminCommands admin(dir_, out, err);
  server::AdminCommands::NewUser user{email, password, "First", "Last", false, 100};
  ASSERT_EQ(admin.AddUser(user, 100), 0) << err.str();
}

void E2eService::AddBlog(const std::string& url, const std::string& owner, bool group, bool hidden,
                         const std::string& viewPassword) {
  std::ostringstream out, err;
  server::AdminCommands admin(dir_, out, err);
  server::AdminCommands::NewBlog blog{url, owner, "Title of " + url, "Sub", group, hidden, viewPassword, true};
  ASSERT_EQ(admin.AddBlog(blog), 0) << err.str();
}

void E2eService::AddMember(const std::string& url, const std::string& email) {
  std::ostringstream out, err;
  server::AdminCommands admin(dir_, out, err);
  ASSERT_EQ(admin.AddMember(url, email), 0) << err.str();
}

void E2eService::Publish(const std::string& name, const std::string& content) {
  const std::filesystem::path file = dir_ / ("publish-" + name);
  std::ofstream(file, std::ios::binary) << content;
  std::ostringstream out, err;
  server::AdminCommands admin(dir_, out, err);
  ASSERT_EQ(admin.SetPublishedFile(name, file), 0) << err.str();
}

std::vector<server::EntryRecord> E2eService::Entries(const std::string& url) {
  server::Database db;
  std::string error;
  EXPECT_TRUE(server::DataFolder::Open(dir_, db, error)) << error;
  server::Transaction read(db);
  const std::optional<server::BlogRecord> blog = server::BlogStore(db).Find(url);
  if (!blog) return {};
  return server::ContentStore(db).Entries(blog->id, server::ContentStore::kLiveOnly, 0);
}

std::vector<server::CommentRecord> E2eService::Comments(const std::string& url) {
  server::Database db;
  std::string error;
  EXPECT_TRUE(server::DataFolder::Open(dir_, db, error)) << error;
  server::Transaction read(db);
  const std::optional<server::BlogRecord> blog = server::BlogStore(db).Find(url);
  if (!blog) return {};
  std::vector<server::CommentRecord> live;
  for (server::CommentRecord& comment : server::ContentStore(db).Comments(blog->id, server::ContentStore::kLiveOnly)) {
    if (!comment.deleted) live.push_back(std::move(comment));
  }
  return live;
}

}  // namespace e2e
