#include "platform/CRegistry.h"

#include <utility>

#include "platform/ErrorCodes.h"

namespace platform {

CRegistry::CRegistry(Hive root, std::string keyPath) : root_(root), keyPath_(std::move(keyPath)) {}

CRegistry::~CRegistry() { Close(); }

bool CRegistry::Create(Hive root, const std::string& keyPath) {
  Close();
  root_ = root;
  keyPath_ = keyPath;
  return RegCreateKey(root, keyPath, handle_) == kSuccess;
}

bool CRegistry::Open() {
  Close();
  if (!root_) return false;
  return RegOpenKey(*root_, keyPath_, handle_) == kSuccess;
}

bool CRegistry::Close() {
  if (handle_ == nullptr) return true;
  const uint32_t rc = RegCloseKey(handle_);
  handle_ = nullptr;
  return rc == kSuccess;
}

bool CRegistry::SetValue(const std::string& name, uint32_t type, const void* data, uint32_t byteLength) {
  return handle_ != nullptr && RegSetValue(handle_, name, type, data, byteLength) == kSuccess;
}

bool CRegistry::QueryValue(const std::string& name, uint32_t& type, void* buffer, uint32_t& inOutLength) {
  return handle_ != nullptr && RegQueryValue(handle_, name, type, buffer, inOutLength) == kSuccess;
}

uint32_t CRegistry::QueryValueLength(const std::string& name) {
  uint32_t type = kRegNone;
  uint32_t length = 0;
  return QueryValue(name, type, nullptr, length) ? length : 0;
}

bool CRegistry::DeleteValue(const std::string& name) {
  return handle_ != nullptr && RegDeleteValue(handle_, name) == kSuccess;
}

bool CRegistry::WriteString(const std::string& name, const std::u16string& value) {
  std::string bytes;
  bytes.reserve((value.size() + 1) * 2);
  for (char16_t c : value) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  bytes.append(2, '\0');
  return SetValue(name, kRegString, bytes.data(), static_cast<uint32_t>(bytes.size()));
}

bool CRegistry::ReadString(const std::string& name, std::u16string& value) {
  uint32_t type = kRegNone;
  uint32_t length = 0;
  if (!QueryValue(name, type, nullptr, length) || type != kRegString) return false;
  std::string bytes(length, '\0');
  if (!QueryValue(name, type, bytes.data(), length) || type != kRegString) return false;
  // The text ends at its terminating zero; a stray odd byte is not a character.
  value.clear();
  for (uint32_t i = 0; i + 1 < length; i += 2) {
    const auto c = static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8);
    if (c == 0) break;
    value.push_back(c);
  }
  return true;
}

std::u16string CRegistry::GetString(Hive root, const std::string& key, const std::string& name,
                                    const std::u16string& defaultValue) {
  CRegistry reg(root, key);
  std::u16string value;
  if (!reg.Open() || !reg.ReadString(name, value)) return defaultValue;
  return value;
}

bool CRegistry::SetString(Hive root, const std::string& key, const std::string& name, const std::u16string& value) {
  CRegistry reg(root, key);
  return reg.Open() && reg.WriteString(name, value);
}

uint32_t CRegistry::GetNumber(Hive root, const std::string& key, const std::string& name, uint32_t defaultValue) {
  CRegistry reg(root, key);
  uint8_t bytes[4] = {};
  uint32_t type = kRegNone;
  uint32_t length = sizeof bytes;
  if (!reg.Open() || !reg.QueryValue(name, type, bytes, length) || type != kRegNumber || length != 4) {
    return defaultValue;
  }
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

bool CRegistry::SetNumber(Hive root, const std::string& key, const std::string& name, uint32_t value) {
  CRegistry reg(root, key);
  const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
  return reg.Open() && reg.SetValue(name, kRegNumber, bytes, sizeof bytes);
}

bool CRegistry::GetBinary(Hive root, const std::string& key, const std::string& name, void* buffer,
                          uint32_t& inOutLength) {
  CRegistry reg(root, key);
  uint32_t type = kRegNone;
  return reg.Open() && reg.QueryValue(name, type, buffer, inOutLength);
}

bool CRegistry::SetBinary(Hive root, const std::string& key, const std::string& name, const void* data,
                          uint32_t byteLength) {
  CRegistry reg(root, key);
  return reg.Open() && reg.SetValue(name, kRegBinary, data, byteLength);
}

}  // namespace platform
