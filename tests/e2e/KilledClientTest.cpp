#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <set>
#include <nlohmann/json.hpp>
#include <thread>

#include "tests/e2e/CliRunner.h"
#include "tests/e2e/E2eService.h"
#include "tests/e2e/FaultProxy.h"

namespace e2e {
namespace {

TEST(KilledClient, ASyncKilledAmongItsUploadsAndRunAgainLosesAndDoublesNothing) {
  E2eService service;
  FaultProxy proxy(service.Port());
  Cli cli(proxy.Port());
  ASSERT_EQ(cli({"create-account", "kim@example.com", "--first", "Kim", "--last", "Lee"}, "pw-kim").status, 0);
  ASSERT_EQ(cli({"create-blog", "kim"}).status, 0);
  constexpr int kPhotos = 6;
  for (int i = 0; i < kPhotos; ++i) {
    const std::string name = "p" + std::to_string(i);
    WritePhoto(cli.Dir() / (name + ".jpg"));
    ASSERT_EQ(cli({"add", "kim", (cli.Dir() / (name + ".jpg")).string(), "--title", name}).status, 0);
  }
  proxy.DelayAnswersTo("/ws/AP\"", 150);
  const pid_t sync = cli.Start({"sync"}, "", "-killed");
  for (int i = 0; i < 2000 && service.Entries("kim").size() < 2; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_EQ(::kill(sync, SIGKILL), 0);
  int status = 0;
  ASSERT_EQ(::waitpid(sync, &status, 0), sync);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the sync ended before it was killed";
  const size_t before = service.Entries("kim").size();
  EXPECT_LT(before, static_cast<size_t>(kPhotos));
  // The service finishes what it had received before the program runs again.
  service.Stop();
  service.Start();
  proxy.DelayAnswersTo("/ws/AP\"", 0);

  const CliRun again = cli({"sync"});
  ASSERT_EQ(again.status, 0) << again.err;
  std::multiset<std::string> stored;
  for (const server::EntryRecord& entry : service.Entries("kim")) stored.insert(entry.title);
  EXPECT_EQ(stored, (std::multiset<std::string>{"p0", "p1", "p2", "p3", "p4", "p5"}));
  const nlohmann::json entries = nlohmann::json::parse(cli({"--json", "entries", "kim"}).out, nullptr, false);
  ASSERT_EQ(entries.size(), static_cast<size_t>(kPhotos));
  for (const auto& entry : entries) EXPECT_EQ(entry["state"], "published") << entry.dump();
}

}  // namespace
}  // namespace e2e
