#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Registry.h"

namespace platform {

// One registry key, opened and closed around the work done on it. The static
// operations open the key, do one thing and close it again, so nothing is cached.
class CRegistry {
 public:
  CRegistry() = default;
  CRegistry(Hive root, std::string keyPath);
  virtual ~CRegistry();
  CRegistry(const CRegistry&) = delete;
  CRegistry& operator=(const CRegistry&) = delete;

  // Sets root and path, then creates the key or opens it when it exists.
  bool Create(Hive root, const std::string& keyPath);
  // Opens the existing key for reading and writing.
  bool Open();
  // Closes the open handle; succeeds when none is open.
  bool Close();
  bool IsOpen() const { return handle_ != nullptr; }

  bool SetValue(const std::string& name, uint32_t type, const void* data, uint32_t byteLength);
  // `inOutLength`: the buffer's size on entry, the value's size on return.
  bool QueryValue(const std::string& name, uint32_t& type, void* buffer, uint32_t& inOutLength);
  // Byte length of a value; 0 when absent.
  uint32_t QueryValueLength(const std::string& name);
  bool DeleteValue(const std::string& name);

  // A string value: UTF-16 with its terminating zero, (characters + 1) * 2 bytes.
  bool WriteString(const std::string& name, const std::u16string& value);
  // False when the value is absent or is not a string.
  bool ReadString(const std::string& name, std::u16string& value);

  static std::u16string GetString(Hive root, const std::string& key, const std::string& name,
                                  const std::u16string& defaultValue);
  static bool SetString(Hive root, const std::string& key, const std::string& name, const std::u16string& value);
  // The default when the key cannot be opened or the value is not a 32-bit number.
  static uint32_t GetNumber(Hive root, const std::string& key, const std::string& name, uint32_t defaultValue);
  static bool SetNumber(Hive root, const std::string& key, const std::string& name, uint32_t value);
  static bool GetBinary(Hive root, const std::string& key, const std::string& name, void* buffer,
                        uint32_t& inOutLength);
  static bool SetBinary(Hive root, const std::string& key, const std::string& name, const void* data,
                        uint32_t byteLength);

  std::optional<Hive> Root() const { return root_; }
  const std::string& KeyPath() const { return keyPath_; }

 private:
  std::optional<Hive> root_;
  std::string keyPath_;
  RegistryHandle handle_ = nullptr;
};

}  // namespace platform
