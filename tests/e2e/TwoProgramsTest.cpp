#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <thread>

#include "model/CWinBlogUser.h"
#include "model/DeviceCommandLock.h"
#include "platform/DeviceFileSystem.h"
#include "platform/Registry.h"
#include "tests/e2e/CliRunner.h"
#include "tests/e2e/E2eService.h"
#include "tests/e2e/FaultProxy.h"
#include "tests/support/RecordingProgress.h"

namespace e2e {
namespace {

constexpr const char* kUpload = "/ws/AP\"";

// An account with the blog "carol" made through the command line.
void CreateAccountAndBlog(Cli& cli) {
  CliRun run = cli({"create-account", "carol@example.com", "--first", "Carol", "--last", "Smith"}, "pw-carol");
  ASSERT_EQ(run.status, 0) << run.err;
  run = cli({"create-blog", "carol"});
  ASSERT_EQ(run.status, 0) << run.err;
}

// Entries of the blog on the device, as `entries --json` lists them.
nlohmann::json Entries(Cli& cli) {
  const CliRun run = cli({"--json", "entries", "carol"});
  EXPECT_EQ(run.status, 0) << run.err;
  return nlohmann::json::parse(run.out, nullptr, false);
}

bool WaitFor(const std::function<bool()>& condition) {
  for (int i = 0; i < 2000; ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

TEST(TwoPrograms, AnAddWhileASyncRunsWaitsAndIsKept) {
  E2eService service;
  FaultProxy proxy(service.Port());
  Cli cli(proxy.Port());
  CreateAccountAndBlog(cli);
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "late.jpg"}) WritePhoto(cli.Dir() / name);
  ASSERT_EQ(cli({"add", "carol", (cli.Dir() / "a.jpg").string(), (cli.Dir() / "b.jpg").string(),
                 (cli.Dir() / "c.jpg").string()})
                .status,
            0);
  proxy.DelayAnswersTo(kUpload, 400);
  const pid_t sync = cli.Start({"sync"}, "", "-sync");
  ASSERT_TRUE(WaitFor([&] { return proxy.Seen(kUpload) >= 1; }));

  const CliRun add = cli({"add", "carol", (cli.Dir() / "late.jpg").string(), "--title", "Late"});
  EXPECT_EQ(add.status, 0) << add.err;
  EXPECT_NE(add.err.find("Waiting for another Tessary program..."), std::string::npos) << add.err;
  const CliRun synced = cli.Wait(sync, "-sync");
  ASSERT_EQ(synced.status, 0) << synced.err;

  const nlohmann::json entries = Entries(cli);
  ASSERT_EQ(entries.size(), 4u) << entries.dump();
  size_t pending = 0;
  for (const auto& entry : entries) pending += entry["state"] == "pending" ? 1 : 0;
  EXPECT_EQ(pending, 1u);
  ASSERT_EQ(cli({"sync"}).status, 0);
  EXPECT_EQ(service.Entries("carol").size(), 4u);
}

// The way a program that keeps the account open between commands (the GUI) works
// beside tessary-cli: each command takes the lock, reads again what the other
// program saved, then changes and saves.
TEST(TwoPrograms, AProgramKeepingTheAccountOpenAddsWhileTheOtherSyncs) {
  E2eService service;
  FaultProxy proxy(service.Port());
  Cli cli(proxy.Port());
  CreateAccountAndBlog(cli);
  for (const char* name : {"a.jpg", "b.jpg"}) WritePhoto(cli.Dir() / name);
  ASSERT_EQ(cli({"add", "carol", (cli.Dir() / "a.jpg").string(), (cli.Dir() / "b.jpg").string()}).status, 0);

  platform::DeviceFileSystem device(cli.DeviceRoot());
  platform::DeviceFileSystem* previous = &platform::DeviceFileSystem::Current();
  platform::DeviceFileSystem::SetCurrent(&device);
  platform::RegistryReset();
  model::CWinBlogUser user;
  ASSERT_EQ(user.LoadUser(), 0u);
  model::CWinBlogStorage* blog = user.FindBlog(u"carol");
  ASSERT_NE(blog, nullptr);
  ASSERT_EQ(blog->ComputePhotoFolder(), 0u);
  const std::string photo = blog->GetPhotoFolder() + "\\camera.jpg";
  std::filesystem::path host;
  ASSERT_EQ(device.ToHostPath(photo, host), 0u);
  WritePhoto(host);

  proxy.DelayAnswersTo(kUpload, 300);
  const pid_t sync = cli.Start({"sync"}, "", "-sync");
  ASSERT_TRUE(WaitFor([&] { return proxy.Seen(kUpload) >= 1; }));
  {
    model::DeviceCommandLock lock;
    testsupport::RecordingProgress progress;
    ASSERT_EQ(lock.Acquire(&progress), 0u);
    EXPECT_EQ(progress.texts, std::vector<std::string>{"Waiting for another Tessary program..."});
    // The sync saved the blog meanwhile: its entries are published now.
    ASSERT_TRUE(user.ReloadIfChanged());
    ASSERT_EQ(user.FindBlog(u"carol"), blog);
    for (const auto& entry : blog->Entries()) EXPECT_TRUE(entry->HasId());
    auto entry = std::make_unique<model::CWinBlogEntry>();
    ASSERT_EQ(blog->NewLocalEntry(*entry, photo), 0u);
    blog->InsertEntry(std::move(entry));
    ASSERT_EQ(blog->Save(), 0u);
  }
  platform::DeviceFileSystem::SetCurrent(previous);
  platform::RegistryReset();
  ASSERT_EQ(cli.Wait(sync, "-sync").status, 0);

  const nlohmann::json entries = Entries(cli);
  ASSERT_EQ(entries.size(), 3u) << entries.dump();
  size_t pending = 0;
  for (const auto& entry : entries) pending += entry["state"] == "pending" ? 1 : 0;
  EXPECT_EQ(pending, 1u);
}

TEST(TwoPrograms, TwoAddLoopsKeepEveryEntry) {
  E2eService service;
  Cli cli(service.Port());
  CreateAccountAndBlog(cli);
  constexpr int kEach = 8;
  for (int i = 0; i < kEach; ++i) {
    WritePhoto(cli.Dir() / ("a" + std::to_string(i) + ".jpg"));
    WritePhoto(cli.Dir() / ("b" + std::to_string(i) + ".jpg"));
  }
  auto loop = [&cli](const std::string& prefix) {
    for (int i = 0; i < kEach; ++i) {
      const std::string name = prefix + std::to_string(i);
      const pid_t pid = cli.Start({"add", "carol", (cli.Dir() / (name + ".jpg")).string()}, "", name);
      EXPECT_EQ(cli.Wait(pid, name).status, 0) << name;
    }
  };
  std::thread first(loop, "a");
  std::thread second(loop, "b");
  first.join();
  second.join();
  EXPECT_EQ(Entries(cli).size(), 2u * kEach);
}

}  // namespace
}  // namespace e2e
