#include <gtest/gtest.h>

#include <filesystem>

#include "model/CWinBlogChannels.h"
#include "model/ModelConstants.h"
#include "platform/Preferences.h"
#include "platform/TextConversion.h"
#include "platform/TimeValue.h"
#include "service/BlogNetwork.h"
#include "service/MorvaneBlogService.h"
#include "service/NetworkConnection.h"
#include "service/ServiceClient.h"
#include "service/ServiceErrors.h"
#include "service/SyncProgress.h"
#include "tests/e2e/E2eDevice.h"
#include "tests/e2e/E2eService.h"
#include "tests/support/ScriptedUserInterface.h"

namespace e2e {
namespace {

using testsupport::ScriptedUserInterface;
constexpr uint32_t kDay = 86400;

std::vector<std::string> StoreTitles(E2eService& service, const std::string& url) {
  std::vector<std::string> titles;
  for (const server::EntryRecord& entry : service.Entries(url)) titles.push_back(entry.title);
  return Titles(titles);
}

model::CWinBlogEntry* FindByTitle(model::CWinBlogStorage& blog, const std::string& title) {
  for (const auto& entry : blog.Entries()) {
    if (entry->GetTitle() == title) return entry.get();
  }
  return nullptr;
}

class SyncRules : public ::testing::Test {
 protected:
  SyncRules() {
    service.AddUser("alice@example.com", "pw-alice");
    service.AddUser("bob@example.com", "pw-bob");
  }

  // The login dialog's way: store the login, then the account sync.
  static void LogIn(E2eDevice& device, const std::string& email, const std::string& password) {
    device.Login(email, password);
    ASSERT_EQ(device.SyncAll(), 0u);
  }

  // The owner's phone puts entries on a blog; each is a day older than the last.
  void Upload(E2eDevice& device, const std::string& url, const std::vector<std::string>& titles) {
    model::CWinBlogStorage* blog = device.Blog(url);
    if (blog == nullptr) blog = device.TakeBlog(url);
    ASSERT_NE(blog, nullptr);
    for (const std::string& title : titles) {
      model::CWinBlogEntry* entry = device.AddPhoto(*blog, title + ".jpg", title);
      entry->SetDate(nextDate_ += kDay);
      blog->ResortEntry(entry);
    }
    ASSERT_EQ(blog->Save(), 0u);
    ASSERT_EQ(device.SyncBlog(url), 0u);
  }

  E2eService service;
  ScriptedUserInterface ui;
  uint32_t nextDate_ = platform::Now() - 60 * kDay;
};

TEST_F(SyncRules, AHiddenBlogAsksForItsViewPasswordUntilRightAndKeepsIt) {
  E2eDevice owner;
  LogIn(owner, "alice@example.com", "pw-alice");
  service.AddBlog("secret", "alice@example.com", false, true, "open sesame");
  Upload(owner, "secret", {"Hidden"});

  E2eDevice reader;
  LogIn(reader, "bob@example.com", "pw-bob");
  reader.TakeBlog("secret");
  ui.ExpectViewPassword("secret", false, "");
  EXPECT_EQ(reader.SyncBlog("secret"), service::kResultAlreadyReported);
  EXPECT_TRUE(reader.PublishedTitles("secret").empty());

  ui.ExpectViewPassword("secret", true, "wrong").ExpectViewPassword("secret", true, "open sesame");
  ASSERT_EQ(reader.SyncBlog("secret"), 0u);
  EXPECT_TRUE(ui.Done());
  reader.Reload();
  EXPECT_EQ(reader.PublishedTitles("secret"), Titles({"Hidden"}));
  EXPECT_EQ(reader.Blog("secret")->Info().viewPassword, "open sesame");
  // The stored password serves the next sync without a question.
  EXPECT_EQ(reader.SyncBlog("secret"), 0u);
}

TEST_F(SyncRules, AGroupMemberPostsButCannotEditTheOwnersEntries) {
  E2eDevice owner;
  LogIn(owner, "alice@example.com", "pw-alice");
  E2eDevice member;
  LogIn(member, "bob@example.com", "pw-bob");
  service.AddBlog("team", "alice@example.com", true);
  service.AddMember("team", "bob@example.com");
  owner.Use();
  Upload(owner, "team", {"Alice's"});

  member.TakeBlog("team");
  ASSERT_EQ(member.SyncBlog("team"), 0u);
  Upload(member, "team", {"Bob's"});
  EXPECT_EQ(StoreTitles(service, "team"), Titles({"Alice's", "Bob's"}));

  model::CWinBlogStorage* blog = member.Blog("team");
  model::CWinBlogEntry* foreign = FindByTitle(*blog, "Alice's");
  ASSERT_NE(foreign, nullptr);
  foreign->SetTitle("Taken over");
  foreign->SetModified(true);
  ui.ExpectMessage(service::ServiceErrors::GetErrorText(service::kErrNoEditPicture) + ".",
                   model::MessageIcon::Exclamation);
  ASSERT_EQ(member.SyncBlog("team"), 0u);
  EXPECT_TRUE(ui.Done());
  // The refused change is dropped, and the next sync downloads the blog afresh.
  EXPECT_FALSE(FindByTitle(*blog, "Taken over")->IsModified());
  EXPECT_EQ(blog->GetLastSync(), 0u);
  ASSERT_EQ(member.SyncBlog("team"), 0u);
  EXPECT_EQ(member.PublishedTitles("team"), Titles({"Alice's", "Bob's"}));
  EXPECT_EQ(StoreTitles(service, "team"), Titles({"Alice's", "Bob's"}));
}

TEST_F(SyncRules, TheEntryLimitHoldsOnTheFirstDownloadAndAfterLaterOnes) {
  E2eDevice owner;
  LogIn(owner, "alice@example.com", "pw-alice");
  service.AddBlog("many", "alice@example.com");
  Upload(owner, "many", {"e1", "e2", "e3", "e4", "e5"});

  E2eDevice reader;
  LogIn(reader, "bob@example.com", "pw-bob");
  model::CWinBlogStorage* blog = reader.TakeBlog("many", model::kSizeThumbnails);
  blog->GetBlogInfo()->limitEntries = true;
  blog->GetBlogInfo()->entryLimit = 3;
  ASSERT_EQ(reader.SyncBlog("many"), 0u);
  EXPECT_EQ(reader.PublishedTitles("many"), Titles({"e3", "e4", "e5"}));

  owner.Use();
  Upload(owner, "many", {"e6", "e7"});
  ASSERT_EQ(reader.SyncBlog("many"), 0u);
  EXPECT_EQ(reader.PublishedTitles("many"), Titles({"e5", "e6", "e7"}));
}

TEST_F(SyncRules, ABlogLastSynchronised171DaysAgoIsDownloadedInFull) {
  E2eDevice owner;
  LogIn(owner, "alice@example.com", "pw-alice");
  service.AddBlog("old", "alice@example.com");
  Upload(owner, "old", {"kept"});

  E2eDevice reader;
  LogIn(reader, "bob@example.com", "pw-bob");
  model::CWinBlogStorage* blog = reader.TakeBlog("old", model::kSizeThumbnails);
  ASSERT_EQ(reader.SyncBlog("old"), 0u);
  // An entry the service no longer has survives incremental syncs only.
  auto stale = std::make_unique<model::CWinBlogEntry>();
  stale->SetId(987654);
  stale->SetTitle("gone on the service");
  stale->SetModified(false);
  stale->SetDate(platform::Now() - 200 * kDay);
  blog->InsertEntry(std::move(stale));
  ASSERT_EQ(reader.SyncBlog("old"), 0u);
  EXPECT_EQ(reader.PublishedTitles("old"), Titles({"gone on the service", "kept"}));

  const uint32_t now = platform::Now();
  blog->SetLastSync(now - 171 * kDay);
  ASSERT_EQ(reader.SyncBlog("old"), 0u);
  EXPECT_EQ(reader.PublishedTitles("old"), Titles({"kept"}));
  EXPECT_GE(blog->GetLastSync() + 3600, now);
}

TEST_F(SyncRules, DownloadSizeNothingSendsChangesButFetchesNoChangeList) {
  E2eDevice other;
  LogIn(other, "alice@example.com", "pw-alice");
  E2eDevice phone;
  LogIn(phone, "alice@example.com", "pw-alice");
  service.AddBlog("quiet", "alice@example.com");
  other.Use();
  Upload(other, "quiet", {"from elsewhere"});

  model::CWinBlogStorage* blog = phone.TakeBlog("quiet", model::kSizeNothing);
  phone.AddPhoto(*blog, "local.jpg", "local");
  ASSERT_EQ(phone.SyncBlog("quiet"), 0u);
  EXPECT_EQ(StoreTitles(service, "quiet"), Titles({"from elsewhere", "local"}));
  EXPECT_EQ(phone.PublishedTitles("quiet"), Titles({"local"}));
  EXPECT_EQ(blog->GetLastSync(), 0u);
}

TEST_F(SyncRules, MissingPhotosAreSkippedAndReportedOnceAtTheEnd) {
  E2eDevice phone;
  LogIn(phone, "alice@example.com", "pw-alice");
  service.AddBlog("gaps", "alice@example.com");
  model::CWinBlogStorage* blog = phone.TakeBlog("gaps");
  std::vector<model::CWinBlogEntry*> entries;
  for (const char* title : {"lost1", "here", "lost2"}) entries.push_back(phone.AddPhoto(*blog, std::string(title) + ".jpg", title));
  std::filesystem::remove(phone.Root().Host(entries[0]->GetPhotoPath()));
  std::filesystem::remove(phone.Root().Host(entries[2]->GetPhotoPath()));

  ui.ExpectMessage("Photos for one or more Pending items could not be found and were not",
                   model::MessageIcon::Exclamation);
  ASSERT_EQ(phone.SyncBlog("gaps"), 0u);
  EXPECT_TRUE(ui.Done());
  EXPECT_EQ(StoreTitles(service, "gaps"), Titles({"here"}));
  phone.Reload();
  blog = phone.Blog("gaps");
  EXPECT_FALSE(FindByTitle(*blog, "here")->IsModified());
  EXPECT_TRUE(FindByTitle(*blog, "lost1")->IsModified());
  EXPECT_TRUE(FindByTitle(*blog, "lost2")->IsModified());
}

TEST_F(SyncRules, ServiceNotesAreShownOnceADayAndUpdatesAreOfferedOnRequest) {
  service.Publish("Tessary.txt",
                  "<VERS>1.0</VERS><NOTE><N>5</N><M>Five</M></NOTE><NOTE><N>3</N><M>Three</M></NOTE>"
                  "<NOTE><N>7</N><M>Seven</M></NOTE>");
  E2eDevice phone;
  LogIn(phone, "alice@example.com", "pw-alice");
  service.AddBlog("notes", "alice@example.com");
  model::CWinBlogStorage* blog = phone.TakeBlog("notes");
  platform::WriteLastMessageNumber(4);

  ui.ExpectMessage("Five", model::MessageIcon::Information).ExpectMessage("Seven", model::MessageIcon::Information);
  ASSERT_EQ(phone.SyncBlog("notes"), 0u);
  ASSERT_EQ(phone.SyncBlog("notes"), 0u);
  platform::WriteLastMessageCheck(platform::Now() - 2 * kDay);
  ASSERT_EQ(phone.SyncBlog("notes"), 0u);
  EXPECT_TRUE(ui.Done());
  EXPECT_EQ(platform::ReadLastMessageNumber(), 7u);

  service.Publish("Tessary.txt", "<VERS>9.9</VERS>");
  platform::WriteLastIgnoredVersion("9.9");
  ui.ExpectNewVersion("9.9", model::NewVersionChoice{});
  bool newer = false;
  uint32_t code = 1;
  service::NetworkConnection::ConnectNetwork(nullptr);
  EXPECT_FALSE(service::BlogNetwork::CheckForUpdates(*blog, nullptr, newer, code));
  service::NetworkConnection::ReleaseNetwork();
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(newer);
  EXPECT_TRUE(ui.Done());
}

TEST_F(SyncRules, RecommendedBlogsComeFromTheChannelsFile) {
  service.Publish("TessaryChannels.txt", "<CHAN>alice Alice &amp; her camera\nbob Bob's city\n</CHAN>");
  E2eDevice phone;
  phone.Use();
  ASSERT_TRUE(service::ServiceClient::Open());
  std::string text;
  service::SyncProgress context(nullptr);
  service::MorvaneBlogService& client = service::ServiceClient::Service();
  client.SetStorage(nullptr);
  EXPECT_EQ(client.GetChannels(text, model::CWinBlogChannels::kMaxText, &service::SyncProgress::ProgressCallback,
                               &context),
            0u);
  service::ServiceClient::Close();
  model::CWinBlogChannels channels;
  channels.Parse(text);
  ASSERT_EQ(channels.Count(), 2u);
  EXPECT_EQ(platform::Utf16ToUtf8(channels.At(0).blogName), "alice");
  EXPECT_EQ(platform::Utf16ToUtf8(channels.At(0).line), "alice Alice & her camera");
  EXPECT_EQ(platform::Utf16ToUtf8(channels.At(1).blogName), "bob");
}

}  // namespace
}  // namespace e2e
