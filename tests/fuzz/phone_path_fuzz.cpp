// Arbitrary phone paths against a device root holding links that lead out of it:
// a path the file system accepts must resolve inside the root (or inside the
// linked storage card), and text conversion must round-trip what it produces.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/DeviceFileSystem.h"
#include "platform/TextConversion.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

struct Root {
  fs::path base, path, card;
  std::unique_ptr<DeviceFileSystem> dfs;
  Root() {
    std::string pattern = (fs::temp_directory_path() / "tessary-fuzz-path-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    base = pattern;
    path = base / "root";
    card = base / "card";
    fs::create_directories(card / "DCIM");
    fs::create_directories(base / "outside");
    dfs = std::make_unique<DeviceFileSystem>(path);
    if (dfs->Initialise() != 0) std::abort();
    fs::create_directory_symlink(card, path / "Storage Card");
    fs::create_directory_symlink(base / "outside", path / "Temp" / "out");
    fs::create_directory_symlink(path, card / "back");
    fs::create_symlink(base / "outside" / "new", path / "dangling");
    fs::create_directory_symlink("../..", path / "My Documents" / "up");
    path = fs::canonical(path);
    card = fs::canonical(card);
  }
  ~Root() { fs::remove_all(base); }
};

bool Within(const fs::path& p, const fs::path& dir) {
  const std::string& s = p.native();
  return s == dir.native() || s.rfind(dir.native() + "/", 0) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Root root;
  const std::string text(reinterpret_cast<const char*>(data), size);

  const std::u16string wide = Utf8ToUtf16(text);
  const std::string narrow = Utf16ToUtf8(wide);
  if (Utf8ToUtf16(narrow) != wide) std::abort();

  fs::path host;
  if (root.dfs->ToHostPath(text, host) != 0) return 0;
  std::error_code ec;
  const fs::path real = fs::weakly_canonical(host, ec);
  if (ec) return 0;
  if (!Within(real, root.path) && !Within(real, root.card)) std::abort();
  return 0;
}
