#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "model/CWinBlogComment.h"
#include "model/ModelConstants.h"
#include "platform/TimeValue.h"
#include "service/AccountNetwork.h"
#include "service/BlogNetwork.h"
#include "service/NetworkConnection.h"
#include "tests/e2e/E2eDevice.h"
#include "tests/e2e/E2eService.h"
#include "tests/support/ScriptedUserInterface.h"

namespace e2e {
namespace {

using testsupport::ScriptedUserInterface;

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

// An account and its first blog made from the device, as the wizard does.
void CreateAccountAndBlog(E2eDevice& device, const std::string& email, const std::string& url) {
  device.Use();
  model::CWinBlogUser& user = device.User();
  ASSERT_EQ(service::AccountNetwork::CreateAccount(user, nullptr, email, "secret", "Alice", "Doe"), 0u);
  ASSERT_EQ(user.SaveUser(), 0u);
  std::array<std::string, 2> suggestions;
  std::unique_ptr<model::CWinBlogStorage> created;
  ASSERT_EQ(service::AccountNetwork::CreateBlog(user, nullptr, url, "Alice's PhotoBlog", "Pictures",
                                                suggestions, created),
            0u);
  ASSERT_TRUE(created);
  model::CWinBlogStorage* blog = user.Blogs().InsertBlog(std::move(created));
  ASSERT_EQ(user.SaveUser(), 0u);
  ASSERT_EQ(blog->Save(), 0u);
}

TEST(PhotoLife, TwoDevicesAgreeWithTheStoreAfterUploadCommentEditAndDelete) {
  E2eService service;
  E2eDevice first;
  E2eDevice second;
  ScriptedUserInterface ui;

  CreateAccountAndBlog(first, "alice@example.com", "alice");
  model::CWinBlogStorage* blog = first.Blog("alice");
  ASSERT_NE(blog, nullptr);
  first.AddPhoto(*blog, "IMG_0001.jpg", "One", 640, 480);
  first.AddPhoto(*blog, "IMG_0002.jpg", "Two", 640, 480);
  first.AddPhoto(*blog, "IMG_0003.jpg", "Three", 640, 480);
  ASSERT_EQ(first.SyncAll(), 0u);
  EXPECT_EQ(StoreTitles(service, "alice"), Titles({"One", "Three", "Two"}));
  EXPECT_EQ(first.PublishedTitles("alice"), Titles({"One", "Three", "Two"}));
  for (const auto& entry : first.Blog("alice")->Entries()) EXPECT_FALSE(entry->IsModified());

  // The second phone logs in to the same account: the service lists the blog, the
  // device asks to subscribe and downloads at its own size through the resizer.
  second.Login("alice@example.com", "secret");
  ui.ExpectQuestion("Do you want to subscribe to the blog 'alice'?", true)
      .ExpectNewSubscription([](model::CWinBlogStorage& fresh) {
        fresh.GetBlogInfo()->downloadSize = model::kSize320x240;
      })
      .ExpectQuestion("You have one or more new subscriptions. Do you want to download the entries now?", true);
  ASSERT_EQ(second.SyncAll(), 0u);
  ASSERT_TRUE(ui.Done());
  second.Reload();
  model::CWinBlogStorage* copy = second.Blog("alice");
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(second.PublishedTitles("alice"), Titles({"One", "Three", "Two"}));
  for (const auto& entry : copy->Entries()) {
    EXPECT_EQ(entry->GetPhotoSize(), model::kSize320x240) << entry->GetTitle();
    uint16_t width = 0, height = 0;
    entry->GetPhotoDimensions(width, height);
    EXPECT_EQ(width, 320) << entry->GetTitle();
    EXPECT_EQ(height, 240) << entry->GetTitle();
    EXPECT_TRUE(std::filesystem::exists(second.Root().Host(entry->GetPhotoPath()))) << entry->GetPhotoPath();
  }

  // A comment from the second phone goes up at once.
  model::CWinBlogEntry* commented = FindByTitle(*copy, "One");
  ASSERT_NE(commented, nullptr);
  auto comment = std::make_unique<model::CWinBlogComment>();
  comment->SetEntryId(commented->GetId());
  comment->SetText("Lovely light");
  comment->SetDate(platform::Now());
  comment->SetModified(true);
  model::CWinBlogComment* posted = comment.get();
  copy->InsertComment(std::move(comment));
  service::NetworkConnection::ConnectNetwork(nullptr);
  EXPECT_EQ(service::BlogNetwork::PostComment(second.User(), *copy, nullptr, *posted), 0u);
  service::NetworkConnection::ReleaseNetwork();
  EXPECT_TRUE(posted->HasId());
  EXPECT_FALSE(posted->IsModified());
  ASSERT_EQ(copy->Save(), 0u);
  ASSERT_EQ(service.Comments("alice").size(), 1u);

  // The first phone edits one entry and deletes another.
  first.Use();
  blog = first.Blog("alice");
  model::CWinBlogEntry* edited = FindByTitle(*blog, "Two");
  ASSERT_NE(edited, nullptr);
  edited->SetTitle("Two, edited");
  edited->SetModified(true);
  blog->DiscardEntry(FindByTitle(*blog, "Three"), true, false);
  ASSERT_EQ(blog->Save(), 0u);
  ASSERT_EQ(first.SyncBlog("alice"), 0u);
  EXPECT_EQ(StoreTitles(service, "alice"), Titles({"One", "Two, edited"}));

  ASSERT_EQ(second.SyncAll(), 0u);
  ASSERT_EQ(first.SyncBlog("alice"), 0u);
  EXPECT_TRUE(ui.Done());

  // Both phones, read back from their files, hold what the service holds.
  for (E2eDevice* device : {&first, &second}) {
    device->Reload();
    EXPECT_EQ(device->PublishedTitles("alice"), StoreTitles(service, "alice"));
    model::CWinBlogStorage* mine = device->Blog("alice");
    ASSERT_NE(mine, nullptr);
    ASSERT_EQ(mine->Comments().Count(), 1u);
    EXPECT_EQ(mine->Comments().At(0)->GetText(), "Lovely light");
    EXPECT_EQ(mine->Comments().At(0)->GetEntryId(), FindByTitle(*mine, "One")->GetId());
  }
}

}  // namespace
}  // namespace e2e
