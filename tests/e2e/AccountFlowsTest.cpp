#include <gtest/gtest.h>

#include "platform/TextConversion.h"
#include "service/ServiceErrors.h"
#include "tests/e2e/E2eDevice.h"
#include "tests/e2e/E2eService.h"
#include "tests/support/ScriptedUserInterface.h"

namespace e2e {
namespace {

using testsupport::ScriptedUserInterface;

TEST(AccountFlows, ADeclinedSubscriptionIsDroppedOnTheServiceAndNotAskedAgain) {
  E2eService service;
  service.AddUser("bob@example.com", "pw-bob");
  service.AddUser("alice@example.com", "pw-alice");
  service.AddBlog("travel", "alice@example.com");
  service.AddBlog("food", "alice@example.com");
  ScriptedUserInterface ui;
  E2eDevice phone;
  phone.Login("alice@example.com", "pw-alice");
  ui.ExpectQuestion("Do you want to subscribe to the blog 'travel'?", false)
      .ExpectQuestion("Do you want to subscribe to the blog 'food'?", true)
      .ExpectNewSubscription()
      .ExpectQuestion("You have one or more new subscriptions. Do you want to download the entries now?", false);
  ASSERT_EQ(phone.SyncAll(), 0u);
  EXPECT_TRUE(ui.Done());
  EXPECT_EQ(phone.User().Blogs().Count(), 1u);
  EXPECT_NE(phone.User().GetUserId(), 0u);
  // Not downloaded yet: the blog is there without a sync.
  EXPECT_EQ(phone.Blog("food")->GetLastSync(), 0u);

  phone.Reload();
  ASSERT_EQ(phone.SyncAll(), 0u);
  EXPECT_TRUE(ui.Done());
  EXPECT_NE(phone.Blog("food")->GetLastSync(), 0u);
}

TEST(AccountFlows, ABlogRemovedOnTheDeviceIsGivenUpOnTheService) {
  E2eService service;
  service.AddUser("alice@example.com", "pw-alice");
  service.AddBlog("travel", "alice@example.com");
  ScriptedUserInterface ui;
  E2eDevice phone;
  phone.Login("alice@example.com", "pw-alice");
  ui.ExpectQuestion("Do you want to subscribe to the blog 'travel'?", true)
      .ExpectNewSubscription()
      .ExpectQuestion("You have one or more new subscriptions. Do you want to download the entries now?", true);
  ASSERT_EQ(phone.SyncAll(), 0u);

  ui.ExpectQuestion("Do you want to unsubscribe from the 'travel' blog?", true)
      .ExpectQuestion("Do you want to delete all the local photos for this blog?", false);
  EXPECT_TRUE(phone.User().Unsubscribe("travel"));
  EXPECT_EQ(phone.User().Blogs().Count(), 0u);
  // The agreed list still names it, so the account check sends the list back
  // instead of offering the blog again.
  ASSERT_EQ(phone.SyncAll(), 0u);
  ASSERT_EQ(phone.SyncAll(), 0u);
  EXPECT_TRUE(ui.Done());
  EXPECT_TRUE(phone.User().BlogNames().empty());
}

TEST(AccountFlows, AWrongPasswordIsReportedOnceAndNothingIsSynchronised) {
  E2eService service;
  service.AddUser("alice@example.com", "pw-alice");
  ScriptedUserInterface ui;
  E2eDevice phone;
  phone.Login("alice@example.com", "not the password");
  model::CWinBlogStorage* blog = phone.TakeBlog("travel");
  phone.AddPhoto(*blog, "a.jpg", "a");
  ui.ExpectMessage("Your email or password is incorrect.  Please select Account Info and verify your settings.",
                   model::MessageIcon::Exclamation);
  EXPECT_EQ(phone.SyncAll(), service::kResultAlreadyReported);
  EXPECT_TRUE(ui.Done());
  EXPECT_TRUE(blog->Entries().At(0)->IsModified());
}

}  // namespace
}  // namespace e2e
