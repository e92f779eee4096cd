#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/CliRunner.h"
#include "tests/e2e/E2eService.h"

namespace e2e {
namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(BlogCommands, SubscribeRefusesABadUrlAndKeepsABlogTheServiceReportsMissing) {
  E2eService service;
  service.AddUser("dave@example.com", "pw-dave");
  Cli cli(service.Port());
  ASSERT_EQ(cli({"login", "dave@example.com"}, "pw-dave").status, 0);
  CliRun run = cli({"subscribe", "../x"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Has(run.err, "Tessary: A Blog URL can only contain alphanumeric characters or '_' and '-'.")) << run.err;

  run = cli({"subscribe", "nosuchblog"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Has(run.err, "Tessary: This Blog URL does not exist.")) << run.err;
  run = cli({"blogs"});
  EXPECT_TRUE(Has(run.out, "nosuchblog")) << run.out;
  EXPECT_FALSE(Has(run.out, "../x")) << run.out;
}

TEST(CommentCommand, ACommentThatCannotReachTheServiceIsKeptAndSentByTheNextSync) {
  E2eService service;
  service.AddUser("ann@example.com", "pw-ann");
  Cli cli(service.Port());
  ASSERT_EQ(cli({"login", "ann@example.com"}, "pw-ann").status, 0);
  ASSERT_EQ(cli({"create-blog", "annsblog"}).status, 0);
  WritePhoto(cli.Dir() / "pier.jpg");
  ASSERT_EQ(cli({"add", "annsblog", (cli.Dir() / "pier.jpg").string(), "--title", "Pier"}).status, 0);
  ASSERT_EQ(cli({"sync", "annsblog"}).status, 0);

  service.Stop();
  CliRun run = cli({"comment", "annsblog", "Pier", "Lovely light"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Has(run.err, "Tessary: A connection to the Internet could not be made.")) << run.err;
  service.Start();
  EXPECT_TRUE(service.Comments("annsblog").empty());

  run = cli({"sync", "annsblog"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<server::CommentRecord> stored = service.Comments("annsblog");
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].text, "Lovely light");
}

// An account's blog with one photo, and a second device subscribed to it at 240x180.
class BlogPrefsCommand : public testing::Test {
 protected:
  void SetUp() override {
    service_.AddUser("ann@example.com", "pw-ann");
    service_.AddUser("bob@example.com", "pw-bob");
    ASSERT_EQ(owner_({"login", "ann@example.com"}, "pw-ann").status, 0);
    ASSERT_EQ(owner_({"create-blog", "annsblog"}).status, 0);
    WritePhoto(owner_.Dir() / "pier.jpg");
    ASSERT_EQ(owner_({"add", "annsblog", (owner_.Dir() / "pier.jpg").string()}).status, 0);
    ASSERT_EQ(owner_({"sync", "annsblog"}).status, 0);
    ASSERT_EQ(reader_({"login", "bob@example.com"}, "pw-bob").status, 0);
    const CliRun run = reader_({"subscribe", "annsblog", "--download", "240x180", "--limit", "10"});
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_TRUE(HasPhoto());
  }
  bool HasPhoto() {
    const CliRun run = reader_({"--json", "entries", "annsblog"});
    return Has(run.out, "\"photoPath\": \"") && !Has(run.out, "\"photoPath\": \"\"");
  }

  E2eService service_;
  Cli owner_{service_.Port()};
  Cli reader_{service_.Port()};
};

TEST_F(BlogPrefsCommand, RaisingTheLimitResetsTheSyncTimestampAndLoweringItDoesNot) {
  CliRun run = reader_({"--json", "blog-prefs", "annsblog", "--limit", "5"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(Has(run.out, "\"lastSync\": 0")) << run.out;
  run = reader_({"--json", "blog-prefs", "annsblog", "--limit", "20"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "\"lastSync\": 0")) << run.out;
  EXPECT_TRUE(Has(run.out, "\"entryLimit\": 20")) << run.out;
  EXPECT_TRUE(Has(run.out, "\"modified\": false")) << run.out;
}

TEST_F(BlogPrefsCommand, ThumbnailsAsksBeforeDeletingThePhotos) {
  CliRun run = reader_({"--no", "blog-prefs", "annsblog", "--download", "Thumbnails"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Has(run.err, "Would you like to delete the photos for existing blog entries? No")) << run.err;
  EXPECT_TRUE(HasPhoto());
  ASSERT_EQ(reader_({"blog-prefs", "annsblog", "--download", "240x180"}).status, 0);
  run = reader_({"--yes", "blog-prefs", "annsblog", "--download", "Thumbnails"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(HasPhoto());
}

TEST(FontCommand, ChoosesAnInstalledFamilyAndRefusesOthers) {
  Cli cli(1);
  CliRun run = cli({"font", "--list"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string family = run.out.substr(0, run.out.find('\n'));
  ASSERT_FALSE(family.empty()) << "no font family installed";
  run = cli({"--json", "--screen", "240x320@192", "font", family, "--size", "11", "--bold"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "\"family\": \"" + family + "\"")) << run.out;
  EXPECT_TRUE(Has(run.out, "\"height\": -29")) << run.out;
  EXPECT_TRUE(Has(run.out, "\"bold\": true")) << run.out;
  EXPECT_EQ(cli({"font", "No Such Family Anywhere"}).status, 2);
  EXPECT_EQ(cli({"font", "--size", "14"}).status, 2);
}

}  // namespace
}  // namespace e2e
