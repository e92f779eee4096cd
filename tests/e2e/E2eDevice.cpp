#include "tests/e2e/E2eDevice.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "image/Bitmap.h"
#include "image/JpegWriter.h"
#include "platform/Preferences.h"
#include "platform/TextConversion.h"
#include "service/AccountNetwork.h"
#include "service/NetworkConnection.h"
#include "service/SyncRunner.h"

namespace e2e {

E2eDevice::E2eDevice() {
  Use();
  user_ = std::make_unique<model::CWinBlogUser>();
}

void E2eDevice::Use() {
  platform::DeviceFileSystem::SetCurrent(&root_.Fs());
  platform::CreatePreferenceKeys();
}

void E2eDevice::Reload() {
  Use();
  user_ = std::make_unique<model::CWinBlogUser>();
  user_->LoadUser();
}

model::CWinBlogStorage* E2eDevice::Blog(const std::string& urlName) {
  return user_->FindBlog(platform::Utf8ToUtf16(urlName));
}

void E2eDevice::Login(const std::string& email, const std::string& password) {
  Use();
  user_->SetEmail(email);
  user_->SetPassword(password);
  user_->credentialsChanged = true;
  ASSERT_EQ(user_->SaveUser(), 0u);
}

model::CWinBlogStorage* E2eDevice::TakeBlog(const std::string& urlName, uint16_t downloadSize) {
  Use();
  std::unique_ptr<model::CWinBlogStorage> blog = user_->MakeBlog(urlName);
  EXPECT_TRUE(blog);
  if (!blog) return nullptr;
  blog->GetBlogInfo()->downloadSize = downloadSize;
  EXPECT_EQ(blog->Save(), 0u);
  return user_->Blogs().InsertBlog(std::move(blog));
}

model::CWinBlogEntry* E2eDevice::AddPhoto(model::CWinBlogStorage& blog, const std::string& fileName,
                                          const std::string& title, uint32_t width, uint32_t height) {
  Use();
  EXPECT_EQ(blog.ComputePhotoFolder(), 0u);
  const std::string path = blog.GetPhotoFolder() + "\\" + fileName;
  image::Bitmap bitmap;
  EXPECT_EQ(bitmap.Allocate(width, height), 0u);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      bitmap.Row(y)[x] = static_cast<uint16_t>(((x * 31 / width) << 11) | ((y * 63 / height) << 5));
    }
  }
  EXPECT_TRUE(image::WriteBitmapAsJpeg(bitmap, root_.Host(path).string(), 85));
  auto entry = std::make_unique<model::CWinBlogEntry>();
  blog.NewLocalEntry(*entry, path);
  entry->SetTitle(title);
  entry->SetModified(true);
  model::CWinBlogEntry* added = entry.get();
  blog.InsertEntry(std::move(entry));
  EXPECT_EQ(blog.Save(), 0u);
  return added;
}

uint32_t E2eDevice::SyncAll(model::ProgressReporter* progress) {
  Use();
  service::NetworkConnection::ConnectNetwork(progress);
  const uint32_t code = service::AccountNetwork::SyncAll(*user_, progress);
  service::NetworkConnection::ReleaseNetwork();
  return code;
}

uint32_t E2eDevice::SyncBlog(const std::string& urlName, model::ProgressReporter* progress) {
  Use();
  model::CWinBlogStorage* blog = Blog(urlName);
  EXPECT_NE(blog, nullptr) << urlName;
  if (blog == nullptr) return 0xFFFFFFFFu;
  return service::SyncRunner::RunSync(*user_, *blog, progress);
}

std::vector<std::string> E2eDevice::PublishedTitles(const std::string& urlName) {
  std::vector<std::string> titles;
  model::CWinBlogStorage* blog = Blog(urlName);
  if (blog == nullptr) return titles;
  for (const auto& entry : blog->Entries()) {
    if (entry->HasId() && !entry->IsRemoved()) titles.push_back(entry->GetTitle());
  }
  return Titles(titles);
}

std::vector<std::string> Titles(const std::vector<std::string>& titles) {
  std::vector<std::string> sorted = titles;
  std::sort(sorted.begin(), sorted.end());
  return sorted;
}

}  // namespace e2e
