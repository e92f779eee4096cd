#include "tests/server/ServiceHarness.h"

#include <gtest/gtest.h>

#include <ctime>
#include <random>
#include <sstream>

#include "server/AdminCommands.h"
#include "server/DemoSeeder.h"

namespace servertest {

ServiceHarness::ServiceHarness(size_t maxRequest)
    : ServiceHarness([maxRequest](server::ServiceConfig& config) {
        if (maxRequest != 0) config.maxRequest = maxRequest;
      }) {}

ServiceHarness::ServiceHarness(const std::function<void(server::ServiceConfig&)>& configure)
    : clock_(std::make_shared<std::atomic<int64_t>>(static_cast<int64_t>(std::time(nullptr)))) {
  std::random_device random;
  dir_ = std::filesystem::temp_directory_path() / ("tessary-service-test-" + std::to_string(random()));
  server::ServiceConfig config;
  config.dataDir = dir_;
  auto clock = clock_;
  config.clock = [clock] { return clock->load(); };
  configure(config);
  service_ = std::make_unique<server::HttpService>(config);
  std::string error;
  bool started = service_->Start("127.0.0.1", 0, error);
  EXPECT_TRUE(started) << error;
  if (!started) return;
  thread_ = std::thread([this] {
    service_->Run();
    runEnded_ = true;
  });
  EXPECT_TRUE(service_->WaitUntilRunning());
}

bool ServiceHarness::RunEndedWithin(std::chrono::milliseconds limit) const {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!runEnded_) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

ServiceHarness::~ServiceHarness() {
  service_->Stop();
  if (thread_.joinable()) thread_.join();
  service_.reset();
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

void ServiceHarness::AddUser(const std::string& email, const std::string& password, const std::string& first,
                             const std::string& last, bool pro, int64_t quota) {
  std::ostringstream out, err;
  server::AdminCommands admin(dir_, out, err);
  server::AdminCommands::NewUser user{email, password, first, last, pro, quota};
  ASSERT_EQ(admin.AddUser(user, 100), 0) << err.str();
}

void ServiceHarness::AddBlog(const std::string& url, const std::string& owner, bool group, bool hidden,
                             const std::string& viewPassword, bool comments) {
  std::ostringstream out, err;
  server::AdminCommands admin(dir_, out, err);
  server::AdminCommands::NewBlog blog{url, owner, "Title of " + url, "Sub", group, hidden, viewPassword, comments};
  ASSERT_EQ(admin.AddBlog(blog), 0) << err.str();
}

void ServiceHarness::AddMember(const std::string& url, const std::string& email) {
  std::ostringstream out, err;
  server::AdminCommands admin(dir_, out, err);
  ASSERT_EQ(admin.AddMember(url, email), 0) << err.str();
}

void ServiceHarness::SeedDemo() {
  std::ostringstream out, err;
  ASSERT_EQ(server::DemoSeeder::Seed(dir_, out, err), 0) << err.str();
}

size_t ServiceHarness::PhotoFileCount() const {
  size_t count = 0;
  for (const auto& item : std::filesystem::directory_iterator(dir_ / "photos")) count += item.is_regular_file();
  return count;
}

}  // namespace servertest
