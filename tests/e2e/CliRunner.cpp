#include "tests/e2e/CliRunner.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <random>
#include <sstream>

#include "image/Bitmap.h"
#include "image/JpegWriter.h"

namespace e2e {

namespace {

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

Cli::Cli(int port) : service_("127.0.0.1:" + std::to_string(port)) {
  std::random_device random;
  dir_ = std::filesystem::temp_directory_path() / ("tessary-cli-e2e-" + std::to_string(random()));
  std::filesystem::create_directories(dir_ / "device");
}

Cli::~Cli() {
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

pid_t Cli::Start(const std::vector<std::string>& args, const std::string& password, const std::string& name) {
  std::vector<std::string> argv = {TESSARY_CLI_PATH, "--device-root", DeviceRoot().string(), "--service", service_};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> cargv;
  for (std::string& arg : argv) cargv.push_back(arg.data());
  cargv.push_back(nullptr);
  std::vector<std::string> env = {"TZ=UTC", "HOME=" + dir_.string()};
  if (!password.empty()) env.push_back("TESSARY_PASSWORD=" + password);
  std::vector<char*> cenv;
  for (std::string& item : env) cenv.push_back(item.data());
  cenv.push_back(nullptr);
  const std::string out = (dir_ / ("out" + name)).string();
  const std::string err = (dir_ / ("err" + name)).string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  // The test's own sockets (service, proxy) must not live on in the program: a
  // connection the proxy closed would stay open in it, and a client waiting on it
  // would never see the end.
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  pid_t pid = -1;
  EXPECT_EQ(posix_spawn(&pid, cargv[0], &actions, nullptr, cargv.data(), cenv.data()), 0);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

CliRun Cli::Wait(pid_t pid, const std::string& name) {
  CliRun run;
  int status = 0;
  if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) run.status = WEXITSTATUS(status);
  run.out = ReadAll(dir_ / ("out" + name));
  run.err = ReadAll(dir_ / ("err" + name));
  return run;
}

void WritePhoto(const std::filesystem::path& file) {
  image::Bitmap bitmap;
  ASSERT_EQ(bitmap.Allocate(320, 240), 0);
  for (uint32_t y = 0; y < 240; ++y) {
    for (uint32_t x = 0; x < 320; ++x) bitmap.Row(y)[x] = static_cast<uint16_t>((x / 10) << 11 | (y / 4) << 5);
  }
  ASSERT_TRUE(image::WriteBitmapAsJpeg(bitmap, file.string(), 85));
}

}  // namespace e2e
