#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <thread>

#include "tests/e2e/CliRunner.h"
#include "tests/e2e/E2eService.h"
#include "tests/support/RawHttpServer.h"

namespace e2e {
namespace {

TEST(CommandLine, CreatesAnAccountAndABlogAndSyncsAPhotoUp) {
  E2eService service;
  service.Publish("Tessary.txt", "<VERS>1.0</VERS>");
  Cli cli(service.Port());
  CliRun run = cli({"create-account", "carol@example.com", "--first", "Carol", "--last", "Smith"}, "pw-carol");
  ASSERT_EQ(run.status, 0) << run.err;
  run = cli({"create-blog", "carol", "--title", "Carol's Photos"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("Tessary: Congratulations! Your Tessary website has been created."), std::string::npos);
  WritePhoto(cli.Dir() / "sunset.jpg");
  run = cli({"add", "carol", (cli.Dir() / "sunset.jpg").string(), "--title", "Sunset"});
  ASSERT_EQ(run.status, 0) << run.err;
  run = cli({"sync"});
  ASSERT_EQ(run.status, 0) << run.err;
  // Not a terminal: the stages come as plain lines.
  EXPECT_NE(run.err.find("Storing Entry...    1/1"), std::string::npos) << run.err;
  ASSERT_EQ(service.Entries("carol").size(), 1u);
  EXPECT_EQ(service.Entries("carol")[0].title, "Sunset");

  run = cli({"--json", "account"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"email\": \"carol@example.com\""), std::string::npos) << run.out;
  run = cli({"check-updates"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("Tessary: You have the latest version of Tessary."), std::string::npos) << run.err;
}

// The outbox's mails, as the service wrote them.
std::vector<std::string> OutboxMails(const E2eService& service) {
  std::vector<std::string> mails;
  for (const auto& file : std::filesystem::directory_iterator(service.DataDir() / "outbox")) {
    std::ifstream in(file.path(), std::ios::binary);
    mails.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return mails;
}

TEST(CommandLine, SharesAndHousekeepsAPublishedPhoto) {
  E2eService service;
  service.AddUser("erin@example.com", "pw-erin");
  service.AddBlog("erin", "erin@example.com");
  Cli cli(service.Port());
  ASSERT_EQ(cli({"login", "erin@example.com"}, "pw-erin").status, 0);
  ASSERT_EQ(cli({"--yes", "sync"}).status, 0);
  WritePhoto(cli.Dir() / "pier.jpg");
  ASSERT_EQ(cli({"add", "erin", (cli.Dir() / "pier.jpg").string(), "--title", "Pier"}).status, 0);
  CliRun run = cli({"mail", "erin", "Pier", "--to", "a@example.com"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Tessary: You need to sync the new entry before"), std::string::npos) << run.err;
  ASSERT_EQ(cli({"--yes", "sync"}).status, 0);

  std::ofstream(cli.DeviceRoot() / "My Documents" / "Contacts.vcf")
      << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Cleo Park\r\nEMAIL;TYPE=pref:cleo@example.com\r\n"
         "EMAIL:cleo@home.example\r\nEND:VCARD\r\n";
  run = cli({"--json", "contacts"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"emails\": [\n      \"cleo@example.com\",\n      \"cleo@home.example\"\n    ]"),
            std::string::npos)
      << run.out;
  run = cli({"mail", "erin", "Pier", "--to", "Nobody Known"});
  EXPECT_EQ(run.status, 2);
  run = cli({"mail", "erin", "Pier", "--to", "cleo park", "--to", "a@example.com, b@example.com", "--message", "Hi"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> mails = OutboxMails(service);
  ASSERT_EQ(mails.size(), 1u);
  EXPECT_NE(mails[0].find("To: cleo@example.com, a@example.com, b@example.com\r\n"), std::string::npos) << mails[0];

  run = cli({"remote-post", "erin", "Pier"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Tessary: You don't currently have any remote blogs set up."), std::string::npos);

  // A download at another size, then the single purge of the published photo.
  run = cli({"download", "erin", "Pier", "--size", "176x132"});
  ASSERT_EQ(run.status, 0) << run.err;
  run = cli({"--json", "entries", "erin"});
  EXPECT_NE(run.out.find("\"photoSize\": 2"), std::string::npos) << run.out;
  run = cli({"--yes", "purge", "erin", "--entry", "#1"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Deleted the photo file of entry #1"), std::string::npos) << run.out;
  run = cli({"move", "erin", "--from", "internal", "--to", "SD"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Tessary: Your device doesn't currently have any external storage cards."), std::string::npos)
      << run.err;
}

TEST(CommandLine, RefusalsAndUsageErrorsHaveTheirExitStatuses) {
  E2eService service;
  Cli cli(service.Port());
  CliRun run = cli({"sync"});
  EXPECT_EQ(run.status, 1);
  run = cli({"login", "dave@example.com"});
  EXPECT_EQ(run.status, 2) << "no password anywhere";
  run = cli({"create-account", "a@b.c", "--first", "A", "--last", "B"}, "pw");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Tessary: Please enter a valid email address and password."), std::string::npos);
  run = cli({"create-account", "dave@example.com", "--first", "Dave", "--last", "Jones"}, "pw with blank");
  EXPECT_EQ(run.status, 1);
  run = cli({"no-such-command"});
  EXPECT_EQ(run.status, 2);

  service.AddUser("dave@example.com", "pw-dave");
  ASSERT_EQ(cli({"login", "dave@example.com"}, "pw-dave").status, 0);
  run = cli({"create-blog", "has.dot"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Tessary: A Blog URL can only contain alphanumeric characters or '_' and '-'."),
            std::string::npos);
  run = cli({"subscribe", "somewhere", "--download", "huge"});
  EXPECT_EQ(run.status, 2);
  service.AddBlog("elsewhere", "dave@example.com");
  run = cli({"--yes", "subscribe", "elsewhere", "--download", "Thumbnails", "--limit", "10"});
  ASSERT_EQ(run.status, 0) << run.err;
  run = cli({"subscribe", "ELSEWHERE"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Tessary: You're already subscribed to this blog."), std::string::npos);
  // A question without --yes on no terminal is answered No.
  run = cli({"unsubscribe", "elsewhere"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Do you wish to continue? No"), std::string::npos) << run.err;
  EXPECT_EQ(cli({"--yes", "unsubscribe", "elsewhere"}).status, 0);
}

TEST(CommandLine, AddRefusesFilesThatAreNotJpegPhotosAndChangesNothing) {
  E2eService service;
  Cli cli(service.Port());
  service.AddUser("dana@example.com", "pw-dana");
  ASSERT_EQ(cli({"login", "dana@example.com"}, "pw-dana").status, 0);
  ASSERT_EQ(cli({"create-blog", "dana"}).status, 0);
  WritePhoto(cli.Dir() / "good.jpg");
  std::ifstream in(cli.Dir() / "good.jpg", std::ios::binary);
  const std::string jpeg((std::istreambuf_iterator<char>(in)), {});
  const std::map<std::string, std::string> refused = {
      {"notes.txt", "just some text\n"},
      {"picture.png", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(64, '\0')},
      {"empty.jpg", ""},
      {"cut.jpg", jpeg.substr(0, 120)},
  };
  for (const auto& [name, bytes] : refused) {
    std::ofstream(cli.Dir() / name, std::ios::binary) << bytes;
    const CliRun run = cli({"add", "dana", (cli.Dir() / name).string()});
    EXPECT_EQ(run.status, 1) << name;
    EXPECT_NE(run.err.find((cli.Dir() / name).string() + "\" is not a JPEG photo"), std::string::npos) << run.err;
  }
  const CliRun listed = cli({"--json", "entries", "dana"});
  EXPECT_EQ(listed.out.find("\"photoPath\""), std::string::npos) << listed.out;
  const std::filesystem::path photos = cli.DeviceRoot() / "My Documents" / "My Pictures" / "dana";
  EXPECT_TRUE(!std::filesystem::exists(photos) || std::filesystem::is_empty(photos));

  // A progressive JPEG has a frame header the decoder reads: it is a photo.
  std::string progressive = jpeg;
  progressive[progressive.find("\xFF\xC0") + 1] = '\xC2';
  std::ofstream(cli.Dir() / "progressive.jpg", std::ios::binary) << progressive;
  const CliRun added = cli({"add", "dana", (cli.Dir() / "progressive.jpg").string()});
  EXPECT_EQ(added.status, 0) << added.err;
}

TEST(CommandLine, ASyncThatReachesNoServiceSaysSoOnce) {
  int port = 0;
  {
    E2eService stopped;  // a port that nothing answers on any more
    port = stopped.Port();
  }
  Cli cli(port);
  ASSERT_EQ(cli({"login", "erin@example.com"}, "pw").status, 0);
  const CliRun run = cli({"sync"});
  EXPECT_EQ(run.status, 1);
  const std::string message = "Tessary: A connection to the Internet could not be made.";
  const size_t at = run.err.find(message);
  ASSERT_NE(at, std::string::npos) << run.err;
  EXPECT_EQ(run.err.find(message, at + 1), std::string::npos) << run.err;
}

TEST(CommandLine, AHiddenBlogWithoutItsViewPasswordIsNamed) {
  E2eService service;
  service.AddUser("erin@example.com", "pw");
  service.AddUser("owner@example.com", "pw-owner");
  service.AddBlog("secret", "owner@example.com", false, true, "peek");
  Cli cli(service.Port());
  ASSERT_EQ(cli({"login", "erin@example.com"}, "pw").status, 0);
  cli({"--yes", "subscribe", "secret"});
  CliRun run = cli({"sync", "secret"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("the blog 'secret' is password protected; give its view password with --view-password"),
            std::string::npos)
      << run.err;
  run = cli({"sync", "secret", "--view-password", "wrong"});
  EXPECT_NE(run.err.find("the blog 'secret' did not accept the view password given"), std::string::npos) << run.err;
  EXPECT_EQ(cli({"sync", "secret", "--view-password", "peek"}).status, 0);
}

TEST(CommandLine, CtrlCCancelsASyncWithStatus130) {
  testsupport::RawHttpServer silent;
  silent.EnqueueSilent();
  Cli cli(silent.Port());
  ASSERT_EQ(cli({"login", "erin@example.com"}, "pw").status, 0);
  const pid_t pid = cli.Start({"sync"});
  ASSERT_TRUE(silent.WaitForRequests(1));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  ::kill(pid, SIGINT);
  const CliRun run = cli.Wait(pid);
  EXPECT_EQ(run.status, 130) << run.err;
  EXPECT_NE(run.err.find("Tessary: Sync Cancelled."), std::string::npos) << run.err;
}

}  // namespace
}  // namespace e2e
