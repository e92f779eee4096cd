#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

// tessary-cli with its own device root ("device" in a temporary folder) and
// service address, stdin from /dev/null. Runs started at the same time give
// each a name for their output files.
class Cli {
 public:
  explicit Cli(int port);
  ~Cli();
  Cli(const Cli&) = delete;
  Cli& operator=(const Cli&) = delete;

  const std::filesystem::path& Dir() const { return dir_; }
  std::filesystem::path DeviceRoot() const { return dir_ / "device"; }

  // Starts the command; Wait() collects it.
  pid_t Start(const std::vector<std::string>& args, const std::string& password = "",
              const std::string& name = "");
  CliRun Wait(pid_t pid, const std::string& name = "");
  CliRun operator()(const std::vector<std::string>& args, const std::string& password = "") {
    return Wait(Start(args, password));
  }

 private:
  std::string service_;
  std::filesystem::path dir_;
};

// A 320 x 240 JPEG photo at `file`.
void WritePhoto(const std::filesystem::path& file);

}  // namespace e2e
