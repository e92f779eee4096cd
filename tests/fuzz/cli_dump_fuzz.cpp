// Feeds arbitrary bytes to `tessary-cli dump` as a file of the computer. Whatever
// the file holds, the command must end with a result, never a crash, and print
// valid JSON (bad UTF-8 in a name replaced) that says whether the file was damaged.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "cli/CliContext.h"
#include "cli/DumpCommand.h"

namespace fs = std::filesystem;

namespace {

struct Folder {
  fs::path path;
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "tessary-fuzz-dump-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path = pattern;
  }
  ~Folder() { fs::remove_all(path); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Folder folder;
  const fs::path file = folder.path / "input.tsl";
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  std::ostringstream out, err;
  const int status = cli::DumpCommand::Dump(file.string(), out, err);
  const nlohmann::json doc = nlohmann::json::parse(out.str(), nullptr, false);
  if (doc.is_discarded() || !doc.is_object()) std::abort();
  if ((status == cli::CliContext::kOk) == doc.contains("error")) std::abort();
  return 0;
}
