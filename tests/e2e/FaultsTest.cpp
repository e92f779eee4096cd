#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "image/ImageInformation.h"
#include "model/CWinBlogComment.h"
#include "model/ProgressReporter.h"
#include "model/UserInterface.h"
#include "net/HttpErrors.h"
#include "net/Win32Http.h"
#include "platform/ErrorCodes.h"
#include "platform/TimeValue.h"
#include "service/ServiceClient.h"
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

  model::CWinBlogEntry* Find(const std::string& title) {
    for (const auto& entry : phone.Blog("daily")->Entries()) {
      if (entry->GetTitle() == title) return entry.get();
    }
    return nullptr;
  }

  // A sync whose answer to `marker` is lost fails; the next run of the program
  // makes it good.
  void SyncLosingTheAnswerTo(const std::string& marker) {
    FaultProxy proxy(service.Port());
    E2eService::UseClientPort(proxy.Port());
    proxy.DropAnswerTo(marker);
    EXPECT_NE(phone.SyncBlog("daily"), 0u);
    EXPECT_TRUE(proxy.Fired()) << marker;
    phone.Reload();
    EXPECT_EQ(phone.SyncBlog("daily"), 0u);
    E2eService::UseClientPort(service.Port());
    phone.Reload();
  }

  // A second phone of the same account that downloads the blog's photos at 240x180.
  std::unique_ptr<E2eDevice> Reader() {
    auto reader = std::make_unique<E2eDevice>();
    reader->Login("alice@example.com", "pw-alice");
    reader->TakeBlog("daily", model::kSize240x180);
    return reader;
  }

  // Whether every entry of the reader's blog has a JPEG photo file at 240x180,
  // and no other file lies in its photo folder.
  static bool HasEveryPhoto(E2eDevice& reader) {
    reader.Reload();
    model::CWinBlogStorage* copy = reader.Blog("daily");
    if (copy->ComputePhotoFolder() != 0) return false;
    size_t files = 0;
    for (const auto& entry : copy->Entries()) {
      if (entry->GetPhotoSize() != model::kSize240x180) return false;
      std::unique_ptr<platform::File> file;
      if (reader.Root().Fs().OpenFile(entry->photoPath, platform::OpenMode::Read, file) != 0) return false;
      if (!image::IsJpegPhoto(*file)) return false;
      ++files;
    }
    const std::filesystem::path folder = reader.Root().Host(copy->GetPhotoFolder());
    return files == copy->Entries().Count() &&
           static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {})) == files;
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

TEST_F(Faults, PendingPhotosThatCannotGoUpStayPendingAndTheRestGoUp) {
  AddPhotos({"first", "text", "refused", "last"});
  // One photo file became a text file; another is a JPEG the service cannot decode.
  std::ofstream(phone.Root().Host(Find("text")->photoPath), std::ios::binary) << "no photo any more";
  const std::filesystem::path refused = phone.Root().Host(Find("refused")->photoPath);
  std::string bytes;
  {
    std::ifstream in(refused, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  bytes[bytes.find("\xFF\xC0") + 1] = '\xC2';
  std::ofstream(refused, std::ios::binary) << bytes;

  for (int run = 0; run < 2; ++run) {
    ui.messages.clear();
    ASSERT_EQ(phone.SyncBlog("daily"), 0u);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("text.jpg"), std::string::npos) << ui.messages[0];
    EXPECT_NE(ui.messages[0].find("refused.jpg"), std::string::npos) << ui.messages[0];
    phone.Reload();
    EXPECT_TRUE(Find("text")->IsModified());
    EXPECT_FALSE(Find("refused")->HasId());
  }
  std::multiset<std::string> stored;
  for (const server::EntryRecord& entry : service.Entries("daily")) stored.insert(entry.title);
  EXPECT_EQ(stored, (std::multiset<std::string>{"first", "last"}));
}

TEST_F(Faults, ALostAnswerToAnEditIsMadeGood) {
  AddPhotos({"old title"});
  ASSERT_EQ(phone.SyncBlog("daily"), 0u);
  phone.Reload();
  Find("old title")->SetTitle("new title");
  Find("new title")->SetModified(true);
  ASSERT_EQ(phone.Blog("daily")->Save(), 0u);
  titles_ = {"new title"};
  SyncLosingTheAnswerTo("/ws/EP\"");
  ExpectConsistent();
}

TEST_F(Faults, ALostAnswerToADeletionIsMadeGood) {
  AddPhotos({"keep", "gone"});
  ASSERT_EQ(phone.SyncBlog("daily"), 0u);
  phone.Reload();
  phone.Blog("daily")->DiscardEntry(Find("gone"), true, false);
  ASSERT_EQ(phone.Blog("daily")->Save(), 0u);
  titles_ = {"keep"};
  SyncLosingTheAnswerTo("/ws/DP\"");
  EXPECT_EQ(phone.Blog("daily")->DeletedEntries().Count(), 0u);
  ExpectConsistent();
}

TEST_F(Faults, ALostAnswerToANewCategoryMakesNoSecondOne) {
  auto category = std::make_unique<model::CWinBlogAlbum>();
  category->SetId(phone.Blog("daily")->NextLocalCategoryId());
  category->SetName("Trips");
  category->SetModified(true);
  phone.Blog("daily")->InsertCategory(std::move(category));
  ASSERT_EQ(phone.Blog("daily")->Save(), 0u);
  SyncLosingTheAnswerTo("/ws/AC\"");
  ASSERT_EQ(phone.Blog("daily")->Categories().Count(), 1u);
  const model::CWinBlogAlbum* trips = phone.Blog("daily")->Categories().At(0);
  EXPECT_TRUE(trips->HasServiceId());
  EXPECT_FALSE(trips->IsModified());
  // A second device sees one category too.
  E2eDevice other;
  other.Login("alice@example.com", "pw-alice");
  other.TakeBlog("daily");
  ASSERT_EQ(other.SyncBlog("daily"), 0u);
  EXPECT_EQ(other.Blog("daily")->Categories().Count(), 1u);
}

TEST_F(Faults, ALostAnswerToACommentMakesNoSecondOne) {
  AddPhotos({"commented"});
  ASSERT_EQ(phone.SyncBlog("daily"), 0u);
  phone.Reload();
  auto comment = std::make_unique<model::CWinBlogComment>();
  comment->SetEntryId(Find("commented")->GetId());
  comment->SetText("Lovely light");
  comment->SetDate(platform::Now());
  comment->SetModified(true);
  phone.Blog("daily")->InsertComment(std::move(comment));
  ASSERT_EQ(phone.Blog("daily")->Save(), 0u);
  SyncLosingTheAnswerTo("/ws/AO\"");
  EXPECT_EQ(service.Comments("daily").size(), 1u);
  ASSERT_EQ(phone.Blog("daily")->Comments().Count(), 1u);
  EXPECT_FALSE(phone.Blog("daily")->Comments().At(0)->IsModified());
}

TEST_F(Faults, ACutPhotoDownloadIsFetchedAgainNextTime) {
  AddPhotos({"one", "two"});
  ASSERT_EQ(phone.SyncBlog("daily"), 0u);
  std::unique_ptr<E2eDevice> reader = Reader();
  FaultProxy proxy(service.Port());
  service.Restart("127.0.0.1:" + std::to_string(proxy.Port()));
  E2eService::UseClientPort(proxy.Port());
  proxy.CutAnswerTo("GET /si.aspx", 600);
  EXPECT_NE(reader->SyncBlog("daily"), 0u);
  EXPECT_TRUE(proxy.Fired());
  reader->Reload();
  ASSERT_EQ(reader->SyncBlog("daily"), 0u);
  EXPECT_TRUE(HasEveryPhoto(*reader));
}

TEST_F(Faults, AGarbledPhotoDownloadIsDroppedAndFetchedAgainNextTime) {
  AddPhotos({"one", "two"});
  ASSERT_EQ(phone.SyncBlog("daily"), 0u);
  std::unique_ptr<E2eDevice> reader = Reader();
  FaultProxy proxy(service.Port());
  service.Restart("127.0.0.1:" + std::to_string(proxy.Port()));
  E2eService::UseClientPort(proxy.Port());
  proxy.GarbleAnswerTo("GET /si.aspx");
  EXPECT_EQ(reader->SyncBlog("daily"), 0u);
  EXPECT_TRUE(proxy.Fired());
  EXPECT_FALSE(HasEveryPhoto(*reader));
  ASSERT_EQ(reader->SyncBlog("daily"), 0u);
  EXPECT_TRUE(HasEveryPhoto(*reader));
}

TEST_F(Faults, ADiskFullWhileDownloadingLeavesNoPartialPhotoAndTheNextSyncCompletes) {
  AddPhotos({"one", "two"});
  ASSERT_EQ(phone.SyncBlog("daily"), 0u);
  std::unique_ptr<E2eDevice> reader = Reader();
  int writes = 0;
  reader->Root().Fs().SetWriteFault([&writes](const std::string& path, uint32_t) {
    return path.find("\\daily\\") != std::string::npos && ++writes == 2 ? platform::kErrDiskFull : 0u;
  });
  EXPECT_EQ(reader->SyncBlog("daily"), platform::kErrDiskFull);
  reader->Root().Fs().SetWriteFault(nullptr);
  EXPECT_GE(writes, 2);
  reader->Reload();
  ASSERT_EQ(reader->SyncBlog("daily"), 0u);
  EXPECT_TRUE(HasEveryPhoto(*reader));
}

TEST_F(Faults, AStalledServiceTimesOutAndTheNextSyncCompletes) {
  AddPhotos({"slow"});
  auto& http = static_cast<net::Win32Http&>(service::ServiceClient::Http());
  http.SetTimeouts(net::Win32Http::kConnectTimeoutSeconds, 1);
  {
    FaultProxy proxy(service.Port());
    E2eService::UseClientPort(proxy.Port());
    proxy.DelayAnswersTo("/ws/GC\"", 20000);
    EXPECT_EQ(phone.SyncBlog("daily"), net::kHttpErrTimeout);
    E2eService::UseClientPort(service.Port());
  }
  http.SetTimeouts(net::Win32Http::kConnectTimeoutSeconds, net::Win32Http::kStallTimeoutSeconds);
  phone.Reload();
  ASSERT_EQ(phone.SyncBlog("daily"), 0u);
  ExpectConsistent();
}

}  // namespace
}  // namespace e2e
