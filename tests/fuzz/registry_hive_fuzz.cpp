// Feeds arbitrary bytes to the registry as a stored hive file. Whatever the file
// holds, reading must not fail badly, and a hive that was accepted must read the
// same after it has been saved and loaded again.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/CRegistry.h"
#include "platform/DeviceFileSystem.h"
#include "platform/Preferences.h"
#include "platform/Registry.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

struct Root {
  fs::path path;
  std::unique_ptr<DeviceFileSystem> dfs;
  Root() {
    std::string pattern = (fs::temp_directory_path() / "tessary-fuzz-hive-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path = pattern;
    dfs = std::make_unique<DeviceFileSystem>(path);
    if (dfs->Initialise() != 0) std::abort();
    DeviceFileSystem::SetCurrent(dfs.get());
  }
  ~Root() { fs::remove_all(path); }
  fs::path Folder() const { return path / "Windows" / "Registry"; }
};

// Everything the preference readers see, as one string.
std::string Snapshot() {
  std::string s;
  LogFont font;
  if (ReadMainViewFont(font)) s += "font" + std::to_string(font.height) + "," + std::to_string(font.faceName.size());
  s += ReadShowEditDialog() ? "1" : "0";
  s += ReadStayInCamera() ? "1" : "0";
  s += ReadOpenCameraOnLaunch() ? "1" : "0";
  s += "|" + ReadCurrentlyViewedBlog() + "|" + ReadLastRemoteBlog() + "|" + ReadLastIgnoredVersion();
  s += "|" + std::to_string(ReadDownloadPhotoSize()) + "|" + std::to_string(ReadLastMessageCheck());
  s += "|" + std::to_string(ReadLastMessageNumber());
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Root root;
  fs::remove_all(root.Folder());
  fs::create_directories(root.Folder());
  const fs::path hive = root.Folder() / "HKEY_CURRENT_USER.json";
  std::ofstream(hive, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  RegistryReset();

  const std::string before = Snapshot();
  if (!fs::exists(hive)) return 0;  // set aside as corrupt
  // Accepted: a save rewrites the whole hive, which must read back the same.
  CRegistry reg;
  if (!reg.Create(Hive::CurrentUser, "Fuzz\\Marker") || !reg.WriteString("m", u"x")) std::abort();
  reg.Close();
  RegistryReset();
  if (Snapshot() != before) std::abort();
  if (CRegistry::GetString(Hive::CurrentUser, "Fuzz\\Marker", "m", u"") != u"x") std::abort();
  return 0;
}
