#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "tests/support/RecordingProgress.h"
#include "tests/support/TempDeviceRoot.h"

namespace e2e {

// One phone: a device root with its account and blogs. Only one device is
// current at a time; Use() makes this one current.
class E2eDevice {
 public:
  E2eDevice();
  void Use();

  model::CWinBlogUser& User() { return *user_; }
  testsupport::TempDeviceRoot& Root() { return root_; }
  // The account and the blogs as a fresh start of the program reads them.
  void Reload();
  model::CWinBlogStorage* Blog(const std::string& urlName);

  // Logs in as the login dialog does.
  void Login(const std::string& email, const std::string& password);
  // A database for a blog that exists on the service, as a subscription makes it.
  model::CWinBlogStorage* TakeBlog(const std::string& urlName, uint16_t downloadSize = 3);
  // A JPEG photo in the blog's photo folder, added as a pending entry.
  model::CWinBlogEntry* AddPhoto(model::CWinBlogStorage& blog, const std::string& fileName,
                                 const std::string& title, uint32_t width = 320, uint32_t height = 240);

  // The account sync (home view Sync) and one blog's Sync, as the commands run them.
  uint32_t SyncAll(model::ProgressReporter* progress = nullptr);
  uint32_t SyncBlog(const std::string& urlName, model::ProgressReporter* progress = nullptr);

  // Titles of the blog's entries with a service id, sorted.
  std::vector<std::string> PublishedTitles(const std::string& urlName);

 private:
  testsupport::TempDeviceRoot root_;
  std::unique_ptr<model::CWinBlogUser> user_;
};

// Sorted titles of the service's live entries of a blog.
std::vector<std::string> Titles(const std::vector<std::string>& titles);

}  // namespace e2e
