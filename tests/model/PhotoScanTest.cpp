#include <gtest/gtest.h>

#include <filesystem>

#include "model/CWinBlogStorage.h"
#include "model/PhotoScan.h"
#include "platform/DeviceFileSystem.h"
#include "tests/model/ModelTestUtil.h"
#include "tests/support/RecordingProgress.h"

namespace {

using modeltest::WriteFile;

// A device whose files' creation times are their last-write times, which the
// tests set.
class PhotoScanTest : public ::testing::Test {
 protected:
  void Photo(const std::string& path, uint32_t time = 1000) {
    root.Fs().CreateFolders(std::string(platform::PhoneFolderOf(path)));
    WriteFile(root, path, "x");
    root.Fs().SetLastWriteTime(path, time);
  }
  std::vector<std::string> Scan(const model::CWinBlogStorage* blog = nullptr,
                                model::ProgressReporter* progress = nullptr) {
    model::PhotoScan scan(blog);
    scan.SetTimeOf([](const platform::FileInfo& info) { return info.lastWriteTime; });
    scan.Collect(progress);
    std::vector<std::string> paths;
    for (const auto& item : scan.GetItems()) paths.push_back(item->Path());
    return paths;
  }

  testsupport::TempDeviceRoot root;
};

TEST_F(PhotoScanTest, TakesJpgAndJpegInAnyCaseAndNothingElse) {
  Photo("\\My Documents\\IMG.JPG");
  Photo("\\My Documents\\a.Jpeg");
  Photo("\\My Documents\\b.jpe");
  Photo("\\My Documents\\c.jpg.txt");
  Photo("\\My Documents\\jpg");
  root.Fs().CreateFolders("\\My Documents\\folder.jpg");
  EXPECT_EQ(Scan(), (std::vector<std::string>{"\\My Documents\\a.Jpeg", "\\My Documents\\IMG.JPG"}));
}

TEST_F(PhotoScanTest, NewestFirstAndEqualTimesInTheOrderFound) {
  Photo("\\My Documents\\c.jpg", 1000);
  Photo("\\My Documents\\B.jpg", 1000);
  Photo("\\My Documents\\a\\z.jpg", 1000);
  Photo("\\My Documents\\old.jpg", 500);
  Photo("\\My Documents\\new.jpg", 2000);
  // Depth first, each folder's entries by name without regard to case.
  EXPECT_EQ(Scan(), (std::vector<std::string>{"\\My Documents\\new.jpg", "\\My Documents\\a\\z.jpg",
                                              "\\My Documents\\B.jpg", "\\My Documents\\c.jpg",
                                              "\\My Documents\\old.jpg"}));
}

TEST_F(PhotoScanTest, CardsInNameOrderEachDcimThenMyDocuments) {
  Photo("\\My Documents\\main.jpg");
  modeltest::MakeCard(root, "Storage Card");
  modeltest::MakeCard(root, "card2");
  Photo("\\Storage Card\\My Documents\\s2.jpg");
  Photo("\\Storage Card\\DCIM\\100CAMERA\\s1.jpg");
  Photo("\\card2\\DCIM\\c1.jpg");
  Photo("\\card2\\Other\\skipped.jpg");
  Photo("\\Windows\\skipped.jpg");
  EXPECT_EQ(Scan(), (std::vector<std::string>{"\\My Documents\\main.jpg", "\\card2\\DCIM\\c1.jpg",
                                              "\\Storage Card\\DCIM\\100CAMERA\\s1.jpg",
                                              "\\Storage Card\\My Documents\\s2.jpg"}));
}

TEST_F(PhotoScanTest, PhotosOfTheBlogAreNotOfferedButThoseOfOtherBlogsAre) {
  Photo("\\My Documents\\used.jpg");
  Photo("\\My Documents\\removed.jpg");
  Photo("\\My Documents\\free.jpg");
  model::CWinBlogStorage blog;
  auto used = std::make_unique<model::CWinBlogEntry>();
  used->photoPath = "\\MY DOCUMENTS\\USED.JPG";
  blog.InsertEntry(std::move(used));
  // An entry taken off the device only gives its photo back to the picker.
  auto removed = std::make_unique<model::CWinBlogEntry>();
  removed->photoPath = "\\My Documents\\removed.jpg";
  removed->MarkRemoved();
  blog.InsertEntry(std::move(removed));
  EXPECT_EQ(Scan(&blog), (std::vector<std::string>{"\\My Documents\\free.jpg", "\\My Documents\\removed.jpg"}));
  model::CWinBlogStorage other;
  EXPECT_EQ(Scan(&other).size(), 3u);
}

TEST_F(PhotoScanTest, AFolderLinkedIntoItselfIsWalkedOnce) {
  Photo("\\My Documents\\a\\one.jpg");
  std::filesystem::create_directory_symlink(root.Host("\\My Documents\\a"), root.Host("\\My Documents\\a") / "loop");
  EXPECT_EQ(Scan(), (std::vector<std::string>{"\\My Documents\\a\\one.jpg"}));
}

TEST_F(PhotoScanTest, ShowsEachFolderAndStopsAtCancelWithWhatItFound) {
  modeltest::MakeCard(root, "Storage Card");
  for (int i = 0; i < 5; ++i) Photo("\\My Documents\\p" + std::to_string(i) + ".jpg");
  Photo("\\Storage Card\\DCIM\\late.jpg");
  testsupport::RecordingProgress watching;
  EXPECT_EQ(Scan(nullptr, &watching).size(), 6u);
  EXPECT_EQ(watching.texts, (std::vector<std::string>{"\\My Documents", "\\Storage Card\\DCIM",
                                                     "\\Storage Card\\My Documents"}));
  EXPECT_GE(watching.pumps, 6);
  testsupport::RecordingProgress cancelling(3);
  const std::vector<std::string> found = Scan(nullptr, &cancelling);
  EXPECT_LT(found.size(), 6u);
  EXPECT_EQ(std::count(found.begin(), found.end(), "\\Storage Card\\DCIM\\late.jpg"), 0);
}

}  // namespace
