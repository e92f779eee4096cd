#include "tests/support/TempDeviceRoot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/Registry.h"

namespace testsupport {

TempDeviceRoot::TempDeviceRoot() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tessary-test-XXXXXX").string();
  char* made = ::mkdtemp(pattern.data());
  EXPECT_NE(made, nullptr);
  root_ = pattern;
  fs_ = std::make_unique<platform::DeviceFileSystem>(root_);
  EXPECT_EQ(fs_->Initialise(), 0u);
  previous_ = &platform::DeviceFileSystem::Current();
  platform::DeviceFileSystem::SetCurrent(fs_.get());
  platform::RegistryReset();
}

TempDeviceRoot::~TempDeviceRoot() {
  platform::DeviceFileSystem::SetCurrent(previous_);
  platform::RegistryReset();
  std::error_code ec;
  std::filesystem::remove_all(root_, ec);
}

std::filesystem::path TempDeviceRoot::Host(const std::string& phonePath) const {
  std::filesystem::path out;
  EXPECT_EQ(fs_->ToHostPath(phonePath, out), 0u) << phonePath;
  return out;
}

}  // namespace testsupport
