#include <QTest>
#include <filesystem>
#include <fstream>

#include "model/CWinBlogStorage.h"
#include "photo/DeviceCamera.h"
#include "photo/HtcCameraAgent.h"
#include "photo/HtcCameraMessages.h"
#include "platform/DeviceFacts.h"
#include "platform/Preferences.h"
#include "platform/Registry.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/ViewFixture.h"
#include "ui/CommandIds.h"

namespace {

using uitest::DialogDriver;

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// An older phone whose registry names the external camera program, which is our
// fake camera started through a script in the device.
class HtcCameraTest : public uitest::ViewFixture {
 protected:
  HtcCameraTest() {
    platform::DeviceFacts::Current().osMajorVersion = 4;
    root_.Fs().CreateFolders("\\Windows");
    const std::filesystem::path script = root_.Host("\\Windows\\camera");
    std::ofstream(script) << "#!/bin/sh\nexec '" << TESSARY_FAKE_CAMERA << "'\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    platform::RegistryHandle key = nullptr;
    EXPECT_EQ(platform::RegCreateKey(platform::Hive::LocalMachine, photo::DeviceCamera::kHtcCameraKey, key), 0u);
    const std::u16string path = u"\\Windows\\camera";
    platform::RegSetValue(key, "Path", platform::kRegString, path.c_str(), static_cast<uint32_t>((path.size() + 1) * 2));
    platform::RegCloseKey(key);
    record_ = (root_.HostRoot() / "record").string();
    qputenv("FAKE_CAMERA_RECORD", QByteArray::fromStdString(record_));
    qputenv("FAKE_CAMERA_PHOTO", QByteArray::fromStdString(root_.Host(WritePhoto("source", 64, 48, 3)).string()));
    photo::CameraLauncher::SetCurrent(&device_);
  }
  ~HtcCameraTest() override {
    photo::CameraLauncher::SetCurrent(nullptr);
    platform::DeviceFacts::Current().osMajorVersion = savedVersion_;
  }
  static void Mode(const char* mode) { qputenv("FAKE_CAMERA_MODE", mode); }
  bool Recorded(const char* what) const {
    return QTest::qWaitFor([&] { return std::filesystem::exists(record_ + what); }, 10000);
  }

  uint32_t savedVersion_ = platform::DeviceFacts::Current().osMajorVersion;
  photo::DeviceCamera device_;
  std::string record_;
};

TEST_F(HtcCameraTest, ThePhotoComesBackLaterAndTheCaptureWindowIsClosed) {
  Mode("photo");
  AddBlog("trips", "Trips", 0);
  platform::WriteCurrentlyViewedBlog("trips");
  Start(240, 320, 96);
  model::CWinBlogStorage* blog = view_->CurrentBlog();
  DialogDriver driver;
  frame_->OnCommand(ui::commands::kCamera);  // hands over and returns at once
  EXPECT_TRUE(driver.Messages().empty());
  ASSERT_TRUE(QTest::qWaitFor([&] { return blog->Entries().Count() == 1; }, 10000));
  const std::string folder = blog->GetPhotoFolder();
  EXPECT_EQ(blog->Entries().At(0)->photoPath, folder + "\\FAKE_0001.jpg");
  EXPECT_TRUE(blog->Entries().At(0)->IsModified());

  ASSERT_TRUE(Recorded(".handover"));
  const std::vector<uint8_t> block = ReadBytes(record_ + ".handover");
  ASSERT_EQ(block.size(), 556u);
  EXPECT_EQ(U32(block, 0), 556u);
  for (size_t at : {4u, 8u, 16u, 24u, 28u}) EXPECT_EQ(U32(block, at), 0u) << at;
  EXPECT_EQ(U32(block, 12), 2u);
  EXPECT_EQ(U32(block, 20), 64u);
  EXPECT_EQ(U32(block, 552), 6u);
  std::u16string sent;
  for (size_t at = 32; block[at] | block[at + 1]; at += 2) sent.push_back(static_cast<char16_t>(block[at] | block[at + 1] << 8));
  EXPECT_EQ(sent, std::u16string(folder.begin(), folder.end()));
  ASSERT_TRUE(Recorded(".close"));
  EXPECT_EQ(ReadBytes(record_ + ".close"), (std::vector<uint8_t>{16, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(HtcCameraTest, OtherMessagesAreIgnoredAndNothingTakenAddsNothing) {
  Mode("wrong-id");
  photo::HtcCameraAgent agent;
  std::vector<std::string> answers;
  agent.SetAnswerHandler([&](const std::string& path) { answers.push_back(path); });
  EXPECT_EQ(agent.Launch(nullptr, "\\Windows\\camera", "\\My Documents\\My Pictures"), photo::kHandedOver);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !answers.empty(); }, 10000));
  EXPECT_EQ(answers, std::vector<std::string>{""});
  // The capture window is closed all the same.
  EXPECT_TRUE(Recorded(".close"));
  QTest::qWait(50);
  EXPECT_EQ(answers.size(), 1u);
}

TEST_F(HtcCameraTest, AnAgentThatNeverComesIsLookedForAHundredTimesEvery50ms) {
  Mode("absent");
  photo::HtcCameraAgent agent;
  std::vector<int> waits;
  agent.SetSleeper([&](int ms) { waits.push_back(ms); });
  DialogDriver driver;
  EXPECT_EQ(agent.Launch(nullptr, "\\Windows\\camera", "\\My Documents"), photo::kCameraUnusable);
  EXPECT_EQ(waits, std::vector<int>(100, 50));
  // A program that cannot be started is not waited for.
  waits.clear();
  std::ofstream(root_.Host("\\Windows") / "notes.txt") << "not a program";
  EXPECT_EQ(agent.Launch(nullptr, "\\Windows\\notes.txt", "\\My Documents"), photo::kCameraUnusable);
  EXPECT_TRUE(waits.empty());
  EXPECT_EQ(driver.MessageTexts(),
            (std::vector<QString>{"The Camera app failed to start.", "The Camera app failed to start."}));
}

TEST(HtcCameraMessagesTest, AnswersAreReadWithinTheirBlock) {
  std::vector<uint8_t> block(552 + 6, 0);
  block[552] = 'a';
  block[554] = 'b';
  photo::htc::Answer answer;
  ASSERT_TRUE(photo::htc::ParseAnswer(block.data(), block.size(), answer));
  EXPECT_EQ(answer.status, 0u);
  EXPECT_EQ(answer.path, "ab");
  // A path without its zero stops at the block's end; a short block has no status.
  block.resize(555);
  ASSERT_TRUE(photo::htc::ParseAnswer(block.data(), block.size(), answer));
  EXPECT_EQ(answer.path, "a");
  EXPECT_FALSE(photo::htc::ParseAnswer(block.data(), 7, answer));
  // The folder of a hand-over keeps its terminating zero.
  const std::vector<uint8_t> handOver = photo::htc::HandOverBlock(std::string(300, 'x'));
  EXPECT_EQ(handOver[32 + 2 * 259], 0);
  EXPECT_EQ(handOver[32 + 2 * 258], 'x');
}

}  // namespace
