#include "platform/Registry.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>

#include "platform/DeviceFileSystem.h"
#include "platform/ErrorCodes.h"
#include "platform/FileStamp.h"
#include "platform/TimeValue.h"

namespace platform {

// An open key: the hive and the key's normalised path. The key's contents stay
// in the hive, so a handle survives reloads of the file.
class RegistryKey {
 public:
  RegistryKey(Hive h, std::string p) : hive(h), path(std::move(p)) {}
  Hive hive;
  std::string path;
};

namespace {

constexpr const char* kFolder = "\\Windows\\Registry";
constexpr uint64_t kMaxHiveBytes = 16u << 20;
constexpr uint32_t kMaxValueBytes = 1u << 20;
constexpr size_t kMaxNameLength = 255;

struct Value {
  std::string name;
  uint32_t type = kRegNone;
  std::vector<uint8_t> data;
};

struct Key {
  std::string path;
  std::vector<Value> values;
};

struct HiveData {
  bool loaded = false;
  uint32_t loadError = 0;  // the file exists but could not be read: refuse to overwrite it
  std::filesystem::path root;
  FileStamp stamp;
  std::vector<Key> keys;
};

HiveData g_hives[2];

const char* HiveFileName(Hive hive) {
  return hive == Hive::CurrentUser ? "HKEY_CURRENT_USER.json" : "HKEY_LOCAL_MACHINE.json";
}

std::string HivePhonePath(Hive hive) { return JoinPhonePath(kFolder, HiveFileName(hive)); }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

// "\A\\B\" -> "A\B"; false for over-long components or NUL bytes.
bool NormaliseKeyPath(const std::string& path, std::string& out) {
  out.clear();
  if (path.find('\0') != std::string::npos) return false;
  size_t i = 0;
  while (i <= path.size()) {
    size_t end = path.find('\\', i);
    if (end == std::string::npos) end = path.size();
    if (end - i > kMaxNameLength) return false;
    if (end > i) {
      if (!out.empty()) out.push_back('\\');
      out.append(path, i, end - i);
    }
    i = end + 1;
  }
  return true;
}

std::string ToHex(const std::vector<uint8_t>& data) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(data.size() * 2);
  for (uint8_t b : data) {
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 15]);
  }
  return out;
}

bool FromHex(const std::string& text, std::vector<uint8_t>& out) {
  if (text.size() % 2 != 0 || text.size() / 2 > kMaxValueBytes) return false;
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  out.clear();
  out.reserve(text.size() / 2);
  for (size_t i = 0; i < text.size(); i += 2) {
    int hi = digit(text[i]), lo = digit(text[i + 1]);
    if (hi < 0 || lo < 0) return false;
    out.push_back(static_cast<uint8_t>(hi << 4 | lo));
  }
  return true;
}

// The hive file's text: {"format":1,"keys":[{"path":..,"values":[{"name":..,"type":..,"data":hex}]}]}.
std::string Serialise(const HiveData& hive) {
  nlohmann::json keys = nlohmann::json::array();
  for (const Key& key : hive.keys) {
    nlohmann::json values = nlohmann::json::array();
    for (const Value& v : key.values) values.push_back({{"name", v.name}, {"type", v.type}, {"data", ToHex(v.data)}});
    keys.push_back({{"path", key.path}, {"values", std::move(values)}});
  }
  nlohmann::json doc = {{"format", 1}, {"keys", std::move(keys)}};
  // Invalid UTF-8 in a name must not stop the save; it is written replaced.
  return doc.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

bool Parse(const std::string& text, std::vector<Key>& keys) {
  keys.clear();
  nlohmann::json doc = nlohmann::json::parse(text, nullptr, false);
  if (doc.is_discarded() || !doc.is_object()) return false;
  auto format = doc.find("format");
  auto list = doc.find("keys");
  if (format == doc.end() || *format != 1 || list == doc.end() || !list->is_array()) return false;
  for (const auto& k : *list) {
    if (!k.is_object() || !k.contains("path") || !k["path"].is_string() || !k.contains("values") ||
        !k["values"].is_array()) {
      return false;
    }
    Key key;
    if (!NormaliseKeyPath(k["path"].get<std::string>(), key.path)) return false;
    for (const auto& v : k["values"]) {
      if (!v.is_object() || !v.contains("name") || !v["name"].is_string() || !v.contains("type") ||
          !v["type"].is_number_unsigned() || v["type"].get<uint64_t>() > UINT32_MAX || !v.contains("data") ||
          !v["data"].is_string()) {
        return false;
      }
      Value value;
      value.name = v["name"].get<std::string>();
      value.type = v["type"].get<uint32_t>();
      if (!FromHex(v["data"].get<std::string>(), value.data)) return false;
      key.values.push_back(std::move(value));
    }
    keys.push_back(std::move(key));
  }
  return true;
}

// Keeps an unreadable hive file for inspection instead of overwriting it.
void SetAside(DeviceFileSystem& fs, const std::string& phone) {
  SystemTime st;
  TimeValueToSystemTime(Now(), st);
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%04u%02u%02u-%02u%02u%02u", st.year, st.month, st.day, st.hour, st.minute,
                st.second);
  const std::string base = phone + ".corrupt-" + stamp;
  std::string target = base;
  for (int n = 2; fs.MoveFile(phone, target) == kErrAlreadyExists && n < 100; ++n) {
    target = base + "-" + std::to_string(n);
  }
}

uint32_t ReadWhole(DeviceFileSystem& fs, const std::string& phone, std::string& text) {
  std::unique_ptr<File> file;
  if (uint32_t rc = fs.OpenFile(phone, OpenMode::Read, file); rc != kSuccess) return rc;
  uint64_t size = 0;
  if (uint32_t rc = file->Size(size); rc != kSuccess) return rc;
  if (size > kMaxHiveBytes) return kErrInvalidData;
  text.resize(static_cast<size_t>(size));
  uint32_t got = 0;
  if (uint32_t rc = file->Read(text.data(), static_cast<uint32_t>(size), got); rc != kSuccess) return rc;
  text.resize(got);
  return kSuccess;
}

// The hive as stored now: read again when the device root changed or the file
// was replaced since it was read.
HiveData& Load(Hive hive) {
  HiveData& data = g_hives[hive == Hive::CurrentUser ? 0 : 1];
  DeviceFileSystem& fs = DeviceFileSystem::Current();
  const std::string phone = HivePhonePath(hive);
  std::filesystem::path host;
  FileStamp stamp;
  if (fs.ToHostPath(phone, host) == kSuccess) stamp = FileStamp::OfHostPath(host);
  if (data.loaded && data.root == fs.HostRoot() && data.stamp == stamp) return data;

  data.loaded = true;
  data.loadError = kSuccess;
  data.root = fs.HostRoot();
  data.keys.clear();
  data.stamp = stamp;
  if (!stamp.exists) return data;
  if (!stamp.regular) {
    // A pipe or a folder in the hive's place would hold every reader up: keep it
    // aside like a corrupt hive.
    SetAside(fs, phone);
    data.stamp = FileStamp::OfHostPath(host);
    return data;
  }
  std::string text;
  uint32_t rc = ReadWhole(fs, phone, text);
  if (rc != kSuccess && rc != kErrInvalidData) {
    // Unreadable for now (permissions, I/O): read as empty and try again next time.
    data.loaded = false;
    data.loadError = rc;
    return data;
  }
  if (rc == kErrInvalidData || !Parse(text, data.keys)) {
    data.keys.clear();
    SetAside(fs, phone);
    data.stamp = FileStamp::OfHostPath(host);
  }
  return data;
}

void SyncFolder(const std::filesystem::path& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Writes the whole hive: a temporary file in the same folder, flushed, then
// renamed over the old one, so a crash leaves either the old or the new file.
uint32_t Save(Hive hive, HiveData& data) {
  if (data.loadError != kSuccess) return data.loadError;
  DeviceFileSystem& fs = DeviceFileSystem::Current();
  if (uint32_t rc = fs.CreateFolders(kFolder); rc != kSuccess) return rc;
  std::string temp;
  if (uint32_t rc = fs.MakeTempFileName(kFolder, "~reg", temp); rc != kSuccess) return rc;
  const std::string text = Serialise(data);
  std::unique_ptr<File> file;
  uint32_t rc = fs.OpenFile(temp, OpenMode::CreateAlways, file);
  if (rc == kSuccess) rc = file->Write(text.data(), static_cast<uint32_t>(text.size()));
  if (rc == kSuccess) rc = file->Sync();
  if (file) {
    if (uint32_t closeRc = file->Close(); rc == kSuccess) rc = closeRc;
  }
  const std::string phone = HivePhonePath(hive);
  if (rc == kSuccess) rc = fs.ReplaceFile(temp, phone);
  if (rc != kSuccess) {
    fs.DeleteFile(temp);
    return rc;
  }
  std::filesystem::path host;
  if (fs.ToHostPath(phone, host) == kSuccess) {
    SyncFolder(host.parent_path());
    data.stamp = FileStamp::OfHostPath(host);
  }
  return kSuccess;
}

Key* FindKey(HiveData& data, std::string_view path) {
  for (Key& key : data.keys) {
    if (SameName(key.path, path)) return &key;
  }
  return nullptr;
}

Value* FindValue(Key& key, std::string_view name) {
  for (Value& v : key.values) {
    if (SameName(v.name, name)) return &v;
  }
  return nullptr;
}

}  // namespace

uint32_t RegCreateKey(Hive hive, const std::string& path, RegistryHandle& out) {
  out = nullptr;
  std::string norm;
  if (!NormaliseKeyPath(path, norm)) return kErrInvalidParameter;
  if (norm.empty()) {
    out = new RegistryKey(hive, norm);
    return kSuccess;
  }
  HiveData& data = Load(hive);
  // Parents are created with the key, as the platform does.
  const size_t before = data.keys.size();
  for (size_t end = 0; end != std::string::npos;) {
    end = norm.find('\\', end == 0 ? 0 : end + 1);
    const std::string_view prefix = std::string_view(norm).substr(0, end);
    if (FindKey(data, prefix) == nullptr) data.keys.push_back(Key{std::string(prefix), {}});
  }
  if (data.keys.size() != before) {
    if (uint32_t rc = Save(hive, data); rc != kSuccess) {
      data.keys.resize(before);
      return rc;
    }
  }
  out = new RegistryKey(hive, FindKey(data, norm)->path);
  return kSuccess;
}

uint32_t RegOpenKey(Hive hive, const std::string& path, RegistryHandle& out) {
  out = nullptr;
  std::string norm;
  if (!NormaliseKeyPath(path, norm)) return kErrInvalidParameter;
  HiveData& data = Load(hive);
  const Key* key = norm.empty() ? nullptr : FindKey(data, norm);
  if (!norm.empty() && key == nullptr) return kErrFileNotFound;
  out = new RegistryKey(hive, norm.empty() ? norm : key->path);
  return kSuccess;
}

uint32_t RegCloseKey(RegistryHandle key) {
  if (key == nullptr) return kErrInvalidHandle;
  delete key;
  return kSuccess;
}

uint32_t RegSetValue(RegistryHandle handle, const std::string& name, uint32_t type, const void* data,
                     uint32_t byteLength) {
  if (handle == nullptr) return kErrInvalidHandle;
  if ((data == nullptr && byteLength != 0) || byteLength > kMaxValueBytes || name.size() > 16383 ||
      name.find('\0') != std::string::npos) {
    return kErrInvalidParameter;
  }
  HiveData& hive = Load(handle->hive);
  Key* key = handle->path.empty() ? nullptr : FindKey(hive, handle->path);
  if (key == nullptr) return handle->path.empty() ? kErrAccessDenied : kErrFileNotFound;
  const std::vector<Value> previous = key->values;
  Value* value = FindValue(*key, name);
  if (value == nullptr) {
    key->values.push_back(Value{name, type, {}});
    value = &key->values.back();
  }
  value->type = type;
  const auto* bytes = static_cast<const uint8_t*>(data);
  value->data.assign(bytes, bytes + byteLength);
  if (uint32_t rc = Save(handle->hive, hive); rc != kSuccess) {
    key->values = previous;
    return rc;
  }
  return kSuccess;
}

uint32_t RegQueryValue(RegistryHandle handle, const std::string& name, uint32_t& type, void* buffer,
                       uint32_t& inOutLength) {
  if (handle == nullptr) return kErrInvalidHandle;
  HiveData& hive = Load(handle->hive);
  Key* key = handle->path.empty() ? nullptr : FindKey(hive, handle->path);
  const Value* value = key == nullptr ? nullptr : FindValue(*key, name);
  if (value == nullptr) return kErrFileNotFound;
  type = value->type;
  const auto size = static_cast<uint32_t>(value->data.size());
  if (buffer == nullptr) {
    inOutLength = size;
    return kSuccess;
  }
  if (inOutLength < size) {
    inOutLength = size;
    return kErrMoreData;
  }
  if (size != 0) std::memcpy(buffer, value->data.data(), size);
  inOutLength = size;
  return kSuccess;
}

uint32_t RegDeleteValue(RegistryHandle handle, const std::string& name) {
  if (handle == nullptr) return kErrInvalidHandle;
  HiveData& hive = Load(handle->hive);
  Key* key = handle->path.empty() ? nullptr : FindKey(hive, handle->path);
  Value* value = key == nullptr ? nullptr : FindValue(*key, name);
  if (value == nullptr) return kErrFileNotFound;
  const std::vector<Value> previous = key->values;
  key->values.erase(key->values.begin() + (value - key->values.data()));
  if (uint32_t rc = Save(handle->hive, hive); rc != kSuccess) {
    key->values = previous;
    return rc;
  }
  return kSuccess;
}

uint32_t RegListValues(RegistryHandle handle, std::vector<std::string>& names) {
  names.clear();
  if (handle == nullptr) return kErrInvalidHandle;
  HiveData& hive = Load(handle->hive);
  Key* key = handle->path.empty() ? nullptr : FindKey(hive, handle->path);
  if (key == nullptr) return handle->path.empty() ? kSuccess : kErrFileNotFound;
  for (const Value& v : key->values) names.push_back(v.name);
  return kSuccess;
}

void RegistryReset() {
  for (HiveData& hive : g_hives) hive = HiveData{};
}

}  // namespace platform
