#include "tests/ui/ViewFixture.h"

#include <QDir>
#include <QPainter>
#include <QTest>

#include "model/CWinBlogStorage.h"
#include "platform/Preferences.h"
#include "platform/Registry.h"
#include "ui/DisplayScale.h"
#include "ui/MessageBox.h"

namespace uitest {

ViewFixture::ViewFixture() {
  platform::RegistryReset();
  platform::CreatePreferenceKeys();
  user_ = std::make_unique<model::CWinBlogUser>();
  user_->SetEmail("ann@example.com");
  user_->SetPassword("secret");
  user_->SetUserId(7);
  user_->SaveUser();
  ui::MessageBox::SetResponder([](const ui::MessageBox::Request& request) {
    ADD_FAILURE() << "unexpected message box: " << request.text.toStdString();
    return int(ui::MessageBox::kNo);
  });
}

ViewFixture::~ViewFixture() {
  ui::MessageBox::SetResponder(nullptr);
  screen_.reset();
  user_.reset();
  platform::RegistryReset();
}

std::string ViewFixture::WritePhoto(const std::string& name, int width, int height, int seed) {
  QImage photo(width, height, QImage::Format_RGB32);
  QPainter painter(&photo);
  const QColor sky = QColor::fromHsv((seed * 67) % 360, 120, 240);
  const QColor land = QColor::fromHsv((seed * 67 + 120) % 360, 160, 150);
  painter.fillRect(photo.rect(), sky);
  painter.setBrush(land);
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(QPoint(width / 3, height), width / 2, height / 2);
  painter.drawEllipse(QPoint(width, height), width / 2, height / 3);
  painter.setBrush(QColor(255, 220, 80));
  painter.drawEllipse(QPoint(width * 3 / 4, height / 4), width / 12, width / 12);
  painter.end();
  const std::string phonePath = "\\My Documents\\My Pictures\\" + name + ".jpg";
  EXPECT_TRUE(photo.save(QString::fromStdString(root_.Host(phonePath).string()), "JPG", 90));
  return phonePath;
}

model::CWinBlogStorage* ViewFixture::AddBlog(const std::string& urlName, const std::string& title, int photos,
                                             uint16_t groupType) {
  std::unique_ptr<model::CWinBlogStorage> blog = user_->MakeBlog(urlName);
  EXPECT_NE(blog, nullptr);
  if (!blog) return nullptr;
  blog->GetBlogInfo()->title = title;
  blog->GetBlogInfo()->subtitle = "Photos of " + title;
  blog->GetBlogInfo()->groupType = groupType;
  model::CWinBlogStorage* added = user_->Blogs().InsertBlog(std::move(blog));
  for (int i = 0; i < photos; ++i) {
    auto entry = std::make_unique<model::CWinBlogEntry>();
    added->NewLocalEntry(*entry, WritePhoto(urlName + std::to_string(i), 640, 480, i + static_cast<int>(urlName.size())));
    entry->SetTitle(title + " photo " + std::to_string(i + 1));
    entry->SetCaption("A caption long enough to wrap over more than one line of the viewer's page.");
    entry->SetAuthorName("Ann");
    added->InsertEntry(std::move(entry));
  }
  EXPECT_EQ(added->Save(), 0u);
  return added;
}

void ViewFixture::Start(int width, int height, int dpi) {
  ui::DisplayScale::FromDpi(dpi, dpi);
  screen_ = std::make_unique<ui::PhoneScreen>(width, height);
  frame_ = new app::CMainFrame(*screen_, *user_);
  const int d = ui::DisplayScale::Down(20);
  frame_->setGeometry(0, d, width, height - 2 * d);
  ASSERT_TRUE(frame_->Create());
  view_ = frame_->View();
  // As at start-up: the display is on, the main window shows after the view's
  // start-up (whose welcome screens show on the display).
  frame_->hide();
  screen_->show();
  ASSERT_TRUE(view_->Initialise());
  frame_->show();
  view_->setFocus();
}

void ViewFixture::PressKey(int qtKey) {
  QTest::keyPress(view_, static_cast<Qt::Key>(qtKey));
  QTest::keyRelease(view_, static_cast<Qt::Key>(qtKey));
}

QImage ViewFixture::Screenshot() const { return screen_->grab().toImage(); }

void ViewFixture::SaveScreenshot(const std::string& name) const {
  QString folder = qEnvironmentVariable("TESSARY_SCREENSHOT_DIR");
  if (folder.isEmpty()) folder = QStringLiteral(TESSARY_SCREENSHOT_DIR);
  QDir().mkpath(folder);
  const QString path = folder + "/" + QString::fromStdString(name) + ".png";
  EXPECT_TRUE(Screenshot().save(path)) << path.toStdString();
}

}  // namespace uitest
