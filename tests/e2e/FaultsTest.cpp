#include <gtest/gtest.h>

#include <set>

#include "model/ProgressReporter.h"
#include "model/UserInterface.h"
#include "platform/ErrorCodes.h"
#include "service/ServiceErrors.h"
#include "tests/e2e/E2eDevice.h"
#include "tests/e2e/E2eService.h"
#include "tests/e2e/FaultProxy.h"

namespace e2e {
namespace {

// Records the messages and answers every question No.
class RecordingUi : public model::UserInterface {
 public:
  RecordingUi() : previous_(&Current()) { SetCurrent(this); }
  ~RecordingUi() override { SetCurrent(previous_); }
  void ShowMessage(std::string_view text, model::MessageIcon) override { messages.emplace_back(text); }
  bool AskYesNo(std::string_view) override { return false; }
  bool AskViewPassword(std::string_view, std::string&) override { return false; }
  model::NewVersionChoice OfferNewVersion(std::string_view) override { return {}; }
  void EditNewSubscription(model::CWinBlogStorage&) override {}

  std::vector<std::string> messages;

 private:
  model::UserInterface* previous_;
};

// Presses Cancel at the n-th pump after the sync reset its cancel state; may run
// an action when a stage line appears.
class CancellingProgress : public model::ProgressReporter {
 public:
  explicit CancellingProgress(int cancelAt = -1) : cancelAt_(cancelAt) {}
  void SetText(std::string_view text) override {
    if (onText) onText(text);
  }
  void Pump() override { ++pumps; }
  bool IsCancelled() override { return cancelAt_ >= 0 && pumps >= cancelAt_; }
  void ResetCancel() override { pumps = 0; }

  int pumps = 0;
  std::function<void(std::string_view)> onText;

 private:
  int cancelAt_;
};

class Faults : public ::testing::Test {
 protected:
  Faults() {
    service.AddUser("alice@example.com", "pw-alice");
    phone.Login("alice@example.com", "pw-alice");
    EXPECT_EQ(phone.SyncAll(), 0u);
    service.AddBlog("daily", "alice@example.com");
    blog = phone.TakeBlog("daily");
  }

  void AddPhotos(const std::vector<std::string>& titles) {
    for (const std::string& title : titles) {
      phone.AddPhoto(*phone.Blog("daily"), title + ".jpg", title, 640, 480);
      titles_.insert(title);
    }
  }

  // Every title added is on the service exactly once, and the phone, read back
  // from its files, agrees and has nothing left to send.
  void ExpectConsistent() {
    std::multiset<std::string> stored;
    for (const server::EntryRecord& entry : service.Entries("daily")) stored.insert(entry.title);
    EXPECT_EQ(stored, std::multiset<std::string>(titles_.begin(), titles_.end()));
    phone.Reload();
    ASSERT_NE(phone.Blog("daily"), nullptr);
    EXPECT_EQ(phone.PublishedTitles("daily"), std::vector<std::string>(titles_.begin(), titles_.end()));
    for (const auto& entry : phone.Blog("daily")->Entries()) EXPECT_FALSE(entry->IsModified()) << entry->GetTitle();
  }

  E2eService service;
  RecordingUi ui;
  E2eDevice phone;
  model::CWinBlogStorage* blog = nullptr;
  std::set<std::string> titles_;
};

TEST_F(Faults, AConnectionCutDuringAnUploadLosesNothing) {
  FaultProxy proxy(service.Port());
  E2eService::UseClientPort(proxy.Port());
  AddPhotos({"first", "second"});
  proxy.CutRequestAfter(20000);
  EXPECT_EQ(phone.SyncBlog("daily"), service::kResultAlreadyReported);
  EXPECT_TRUE(proxy.Fired());
  // The cut is said once, not passed over in silence.
  EXPECT_EQ(ui.messages, std::vector<std::string>{"A connection to the Internet could not be made."});
  phone.Reload();
  ASSERT_EQ(phone.SyncBlog("daily"), 0u);
  ExpectConsistent();
}

TEST_F(Faults, AnUploadWhoseAnswerWasLostIsBoundNotSentTwice) {
  FaultProxy proxy(service.Port());
  E2eService::UseClientPort(proxy.Port());
  AddPhotos({"only"});
  proxy.DropAnswerTo("/ws/AP\"");
  EXPECT_NE(phone.SyncBlog("daily"), 0u);
  EXPECT_TRUE(proxy.Fired());
  ASSERT_EQ(service.Entries("daily").size(), 1u);
  // The next run of the program finds the entry still pending in its file.
  phone.Reload();
  EXPECT_TRUE(phone.Blog("daily")->Entries().At(0)->IsModified());
  ASSERT_EQ(phone.SyncBlog("daily"), 0u);
  ExpectConsistent();
}

TEST_F(Faults, TheServiceStoppingInTheMiddleOfASyncLosesNothing) {
  AddPhotos({"a", "b", "c"});
  CancellingProgress progress;
  bool stopped = false;
  progress.onText = [&](std::string_view text) {
    if (!stopped && text.find("Storing Entry...    2/3") != std::string_view::npos) {
      stopped = true;
      service.Stop();
    }
  };
  EXPECT_NE(phone.SyncBlog("daily", &progress), 0u);
  ASSERT_TRUE(stopped);
  service.Start();
  EXPECT_EQ(service.Entries("daily").size(), 1u);
  phone.Reload();
  ASSERT_EQ(phone.SyncBlog("daily"), 0u);
  ExpectConsistent();
}

TEST_F(Faults, CancelAtAnyPointKeepsTheFilesConsistentAndTheNextSyncCompletes) {
  int round = 0;
  int cancelled = 0;
  for (int cancelAt : {1, 2, 3, 4, 6, 9, 13, 19, 28, 40, 60, 90}) {
    AddPhotos({"photo" + std::to_string(++round)});
    ui.messages.clear();
    CancellingProgress progress(cancelAt);
    const uint32_t code = phone.SyncBlog("daily", &progress);
    if (code != 0) {
      ++cancelled;
      EXPECT_EQ(code, service::kResultAlreadyReported) << "cancel at " << cancelAt;
      EXPECT_EQ(ui.messages, std::vector<std::string>{"Sync Cancelled."}) << "cancel at " << cancelAt;
    }
    phone.Reload();
    ASSERT_EQ(phone.SyncBlog("daily"), 0u) << "cancel at " << cancelAt;
    ExpectConsistent();
    if (code == 0) break;
  }
  // Cancels landed in the version check, the change list and the uploads.
  EXPECT_GE(cancelled, 6);
}

}  // namespace
}  // namespace e2e
