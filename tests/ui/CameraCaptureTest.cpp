#include <QApplication>
#include <QCameraDevice>
#include <QCheckBox>
#include <QLineEdit>
#include <QMediaDevices>
#include <QTest>
#include <fstream>

#include "dialogs/entries/CEditEntryDlg.h"
#include "dialogs/prefs/CCameraPrefsDlg.h"
#include "model/CWinBlogStorage.h"
#include "photo/DeviceCamera.h"
#include "platform/DeviceFacts.h"
#include "platform/Preferences.h"
#include "platform/Registry.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/ScriptedCamera.h"
#include "tests/ui/ViewFixture.h"
#include "ui/CommandIds.h"

namespace {

namespace c = ui::commands;
using uitest::DialogDriver;

const QString kNoCamera = "This device doesn't have a supported camera.";
const QString kNoPermission =
    "You do not have permission to edit this blog. If you expect to have write access, check that your login "
    "information in Account Info is correct.";

// The blog "trips" with one entry, open in the blog view, and a scripted camera.
class CameraCaptureTest : public uitest::ViewFixture {
 protected:
  void SetUp() override {
    blog_ = AddBlog("trips", "Trips", 1);
    platform::WriteCurrentlyViewedBlog("trips");
  }
  void StartWith(bool stay, bool showEditor) {
    platform::WriteStayInCamera(stay);
    platform::WriteShowEditDialog(showEditor);
    Start(240, 320, 96);
    QApplication::setActiveWindow(screen_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen_.get()));
    blog_ = view_->CurrentBlog();
  }
  size_t Pending() const {
    size_t n = 0;
    for (const auto& e : blog_->Entries()) n += !e->HasId() && e->photoPath.find("SHOT_") != std::string::npos;
    return n;
  }
  // The entry made of the camera's n-th photo.
  model::CWinBlogEntry* Shot(size_t n) const {
    for (const auto& e : blog_->Entries()) {
      if (n < camera_.photos.size() && e->photoPath == camera_.photos[n]) return e.get();
    }
    return nullptr;
  }
  // The blog as the device holds it.
  size_t SavedEntries() const {
    model::CWinBlogStorage saved;
    saved.SetPath(blog_->GetPath());
    EXPECT_EQ(saved.Load(), 0u);
    return saved.Entries().Count();
  }

  model::CWinBlogStorage* blog_ = nullptr;
  uitest::ScriptedCamera camera_{root_};
};

TEST_F(CameraCaptureTest, StayInCameraTakesPhotosUntilCancelAndNeverOpensTheEditor) {
  camera_.Then(photo::kPhotoTaken).Then(photo::kPhotoTaken).Then(photo::kPhotoTaken);
  StartWith(true, true);
  DialogDriver driver;  // a screen would fail the test
  frame_->OnCommand(c::kCamera);
  EXPECT_EQ(camera_.launches, 4);
  EXPECT_EQ(Pending(), 3u);
  EXPECT_EQ(SavedEntries(), 4u);
  EXPECT_EQ(view_->GetItemCount(), 4);
  EXPECT_TRUE(driver.Messages().empty());
  EXPECT_TRUE(driver.Screens().empty());
}

TEST_F(CameraCaptureTest, ShowEditDialogOpensTheEditorOnTheNewEntryOnce) {
  camera_.Then(photo::kPhotoTaken).Then(photo::kPhotoTaken);
  StartWith(false, true);
  DialogDriver driver;
  model::CWinBlogEntry* edited = nullptr;
  driver.On<dialogs::CEditEntryDlg>([&](dialogs::CEditEntryDlg& editor) {
    edited = Shot(0);
    QWidget* f = QApplication::focusWidget();
    fprintf(stderr, "active %p screen %p\n", (void*)QApplication::activeWindow(), (void*)screen_.get());
    fprintf(stderr, "focus %s %s\n", f ? f->metaObject()->className() : "none", f && f->parentWidget() ? f->parentWidget()->metaObject()->className() : "");
    EXPECT_TRUE(editor.TitleField()->hasFocus());
    DialogDriver::Type(*editor.TitleField(), "Harbour");
    editor.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kCamera);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(camera_.launches, 1);
  ASSERT_NE(edited, nullptr);
  EXPECT_EQ(edited->GetTitle(), "Harbour");
  EXPECT_EQ(edited->photoPath, camera_.photos.at(0));
  EXPECT_EQ(view_->Selected(), blog_->GetShownPosition(edited));
}

TEST_F(CameraCaptureTest, WithoutTheEditorTheNewCellIsSelected) {
  camera_.Then(photo::kPhotoTaken);
  StartWith(false, false);
  DialogDriver driver;
  frame_->OnCommand(c::kCamera);
  EXPECT_EQ(camera_.launches, 1);
  ASSERT_EQ(Pending(), 1u);
  EXPECT_EQ(view_->Selected(), blog_->GetShownPosition(Shot(0)));
  EXPECT_TRUE(driver.Screens().empty());
}

TEST_F(CameraCaptureTest, RefusalsAndAnswersThatEndTheLoop) {
  StartWith(true, false);
  DialogDriver driver;
  camera_.supported = false;
  frame_->OnCommand(c::kCamera);
  EXPECT_EQ(camera_.launches, 0);
  camera_.supported = true;
  camera_.Then(photo::kCameraUnusable).Then(photo::kHandedOver).Then(photo::kNothingTaken);
  for (int i = 0; i < 3; ++i) frame_->OnCommand(c::kCamera);
  EXPECT_EQ(camera_.launches, 3);
  blog_->GetBlogInfo()->readOnly = true;
  frame_->OnCommand(c::kCamera);
  EXPECT_EQ(camera_.launches, 3);
  ASSERT_EQ(driver.Messages().size(), 3u);
  EXPECT_EQ(driver.Messages()[0].text, kNoCamera);
  EXPECT_EQ(driver.Messages()[0].icon, ui::MessageBox::Icon::Exclamation);
  EXPECT_EQ(driver.Messages()[1].text, kNoCamera);
  EXPECT_EQ(driver.Messages()[2].text, kNoPermission);
  EXPECT_EQ(driver.Messages()[2].icon, ui::MessageBox::Icon::None);
  EXPECT_EQ(Pending(), 0u);
}

TEST_F(CameraCaptureTest, AFileThatIsNotAJpegEndsTheLoop) {
  camera_.Then(photo::kPhotoTaken).Then(photo::kPhotoTaken, false).Then(photo::kPhotoTaken);
  StartWith(true, false);
  DialogDriver driver;
  frame_->OnCommand(c::kCamera);
  EXPECT_EQ(camera_.launches, 2);
  EXPECT_EQ(Pending(), 1u);
  EXPECT_EQ(driver.MessageTexts(), std::vector<QString>{"\"SHOT_2.jpg\" is not a JPEG photo."});
}

TEST_F(CameraCaptureTest, ALaterAnswerWaitsForTheScreenOnTopThenBecomesAnEntry) {
  camera_.Then(photo::kPhotoTaken);
  StartWith(false, false);
  ASSERT_TRUE(camera_.answer);
  {
    DialogDriver driver;
    frame_->OnCommand(c::kCamera);  // a photo to hand back later
  }
  const std::string path = camera_.photos.at(0);
  blog_->DiscardEntry(blog_->Entries().At(0), false, false);
  const size_t before = Pending();
  DialogDriver driver;
  size_t whileOpen = 99;
  driver.On<dialogs::CCameraPrefsDlg>([&](dialogs::CCameraPrefsDlg& prefs) {
    camera_.answer(path);
    camera_.answer("");  // nothing was taken
    QTest::qWait(2 * app::CMainFrame::kCameraAnswerRetryMs);
    whileOpen = blog_->Entries().Count();
    prefs.Bar()->PressRight();
  });
  const size_t entries = blog_->Entries().Count();
  frame_->OnCommand(c::kCameraPrefs);
  EXPECT_EQ(whileOpen, entries);
  EXPECT_TRUE(QTest::qWaitFor([&] { return blog_->Entries().Count() == entries + 1; }, 3000));
  EXPECT_EQ(Pending(), before + 1);
}

TEST_F(CameraCaptureTest, CameraPrefsKeepsTheHiddenChoiceAndStartUpIgnoresIt) {
  platform::WriteOpenCameraOnLaunch(true);
  StartWith(true, false);
  EXPECT_EQ(camera_.launches, 0);
  DialogDriver driver;
  driver.On<dialogs::CCameraPrefsDlg>([](dialogs::CCameraPrefsDlg& prefs) {
    EXPECT_FALSE(prefs.ShowEditBox()->isChecked());
    EXPECT_TRUE(prefs.StayBox()->isChecked());
    EXPECT_TRUE(prefs.OpenOnLaunchBox()->isHidden());
    EXPECT_EQ(prefs.StayBox()->text(), "Stay in camera until cancel");
    QTest::keyClick(prefs.ShowEditBox(), Qt::Key_Space);
    prefs.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kCameraPrefs);
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(platform::ReadShowEditDialog());
  EXPECT_TRUE(platform::ReadStayInCamera());
  EXPECT_TRUE(platform::ReadOpenCameraOnLaunch());
  camera_.supported = false;
  frame_->OnCommand(c::kCameraPrefs);
  EXPECT_EQ(driver.MessageTexts(), std::vector<QString>{kNoCamera});
}

class CameraKindTest : public uitest::ViewFixture {
 protected:
  ~CameraKindTest() override { platform::DeviceFacts::Current().osMajorVersion = savedVersion_; }
  static void SetPath(const std::u16string& path, uint32_t type = platform::kRegString) {
    platform::RegistryHandle key = nullptr;
    ASSERT_EQ(platform::RegCreateKey(platform::Hive::LocalMachine, photo::DeviceCamera::kHtcCameraKey, key), 0u);
    platform::RegSetValue(key, "Path", type, path.c_str(), static_cast<uint32_t>((path.size() + 1) * 2));
    platform::RegCloseKey(key);
  }
  uint32_t savedVersion_ = platform::DeviceFacts::Current().osMajorVersion;
};

TEST_F(CameraKindTest, NewerPhonesHaveTheShellCameraOlderOnesTheProgramTheRegistryNames) {
  root_.Fs().CreateFolders("\\Windows");
  std::ofstream(root_.Host("\\Windows\\camera.exe")) << "x";
  platform::DeviceFacts::Current().osMajorVersion = 5;
  EXPECT_EQ(photo::DeviceCamera::DetectKind(), photo::CameraKind::ShellCapture);
  platform::DeviceFacts::Current().osMajorVersion = 4;
  EXPECT_EQ(photo::DeviceCamera::DetectKind(), photo::CameraKind::None);
  SetPath(u"\\Windows\\Camera.exe");
  EXPECT_EQ(photo::DeviceCamera::DetectKind(), photo::CameraKind::HtcCamera);
  SetPath(u"\\");
  EXPECT_EQ(photo::DeviceCamera::DetectKind(), photo::CameraKind::HtcCamera);
  SetPath(u"\\Windows\\missing.exe");
  EXPECT_EQ(photo::DeviceCamera::DetectKind(), photo::CameraKind::None);
  // 129 characters and the zero fill 260 bytes; one more is too long.
  const std::u16string deep = u"\\Windows\\" + std::u16string(116, u'a') + u".exe";
  std::ofstream(root_.Host("\\Windows") / std::string(116, 'a').append(".exe")) << "x";
  SetPath(deep);
  EXPECT_EQ(photo::DeviceCamera::DetectKind(), photo::CameraKind::HtcCamera);
  std::ofstream(root_.Host("\\Windows") / std::string(117, 'a').append(".exe")) << "x";
  SetPath(u"\\Windows\\" + std::u16string(117, u'a') + u".exe");
  EXPECT_EQ(photo::DeviceCamera::DetectKind(), photo::CameraKind::None);
  SetPath(u"\\Windows\\camera.exe", platform::kRegBinary);
  EXPECT_EQ(photo::DeviceCamera::DetectKind(), photo::CameraKind::None);
  // The kind is decided once.
  photo::DeviceCamera device;
  EXPECT_FALSE(device.HasSupportedCamera());
  SetPath(u"\\Windows\\camera.exe");
  EXPECT_FALSE(device.HasSupportedCamera());
}

TEST_F(CameraKindTest, TheShellCameraWithoutACameraDeviceAnswersZero) {
  if (!QMediaDevices::videoInputs().isEmpty()) GTEST_SKIP() << "this machine has a camera";
  Start(240, 320, 96);
  std::string path = "unchanged";
  EXPECT_EQ(photo::DeviceCamera::LaunchShellCapture(*screen_, view_, "\\My Documents\\My Pictures", path),
            photo::kCameraUnusable);
  EXPECT_TRUE(path.empty());
}

}  // namespace
