#pragma once

#include <filesystem>
#include <memory>

#include "platform/DeviceFileSystem.h"

namespace testsupport {

// A fresh device root in a temporary folder, made current for the test's life and
// removed afterwards.
class TempDeviceRoot {
 public:
  TempDeviceRoot();
  ~TempDeviceRoot();
  TempDeviceRoot(const TempDeviceRoot&) = delete;
  TempDeviceRoot& operator=(const TempDeviceRoot&) = delete;

  platform::DeviceFileSystem& Fs() { return *fs_; }
  const std::filesystem::path& HostRoot() const { return root_; }
  // Host path of a phone path (test convenience; asserts on failure).
  std::filesystem::path Host(const std::string& phonePath) const;

 private:
  std::filesystem::path root_;
  std::unique_ptr<platform::DeviceFileSystem> fs_;
  platform::DeviceFileSystem* previous_ = nullptr;
};

}  // namespace testsupport
