#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "image/Bitmap.h"
#include "image/JpegWriter.h"
#include "tests/e2e/E2eService.h"
#include "tests/support/RawHttpServer.h"

extern char** environ;

namespace e2e {
namespace {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// tessary-cli with its own device root and service address, stdin from /dev/null.
class Cli {
 public:
  explicit Cli(int port) : service_("127.0.0.1:" + std::to_string(port)) {
    std::random_device random;
    dir_ = std::filesystem::temp_directory_path() / ("tessary-cli-e2e-" + std::to_string(random()));
    std::filesystem::create_directories(dir_ / "device");
  }
  ~Cli() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  const std::filesystem::path& Dir() const { return dir_; }

  // Starts the command; Wait() collects it.
  pid_t Start(const std::vector<std::string>& args, const std::string& password = "") {
    std::vector<std::string> argv = {TESSARY_CLI_PATH, "--device-root", (dir_ / "device").string(), "--service",
                                     service_};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (std::string& arg : argv) cargv.push_back(arg.data());
    cargv.push_back(nullptr);
    std::vector<std::string> env = {"TZ=UTC", "HOME=" + dir_.string()};
    if (!password.empty()) env.push_back("TESSARY_PASSWORD=" + password);
    std::vector<char*> cenv;
    for (std::string& item : env) cenv.push_back(item.data());
    cenv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, (dir_ / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, (dir_ / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, cargv[0], &actions, nullptr, cargv.data(), cenv.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
  }

  CliRun Wait(pid_t pid) {
    CliRun run;
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) run.status = WEXITSTATUS(status);
    run.out = ReadAll(dir_ / "out");
    run.err = ReadAll(dir_ / "err");
    return run;
  }

  CliRun operator()(const std::vector<std::string>& args, const std::string& password = "") {
    return Wait(Start(args, password));
  }

 private:
  std::string service_;
  std::filesystem::path dir_;
};

void WritePhoto(const std::filesystem::path& file) {
  image::Bitmap bitmap;
  ASSERT_EQ(bitmap.Allocate(320, 240), 0);
  for (uint32_t y = 0; y < 240; ++y) {
    for (uint32_t x = 0; x < 320; ++x) bitmap.Row(y)[x] = static_cast<uint16_t>((x / 10) << 11 | (y / 4) << 5);
  }
  ASSERT_TRUE(image::WriteBitmapAsJpeg(bitmap, file.string(), 85));
}

TEST(CommandLine, CreatesAnAccountAndABlogAndSyncsAPhotoUp) {
  E2eService service;
  service.Publish("Tessary.txt", "<VERS>1.0</VERS>");
  Cli cli(service.Port());
  CliRun run = cli({"create-account", "carol@example.com", "--first", "Carol", "--last", "Smith"}, "pw-carol");
  ASSERT_EQ(run.status, 0) << run.err;
  run = cli({"create-blog", "carol", "--title", "Carol's Photos"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("Tessary: Congratulations! Your Tessary website has been created."), std::string::npos);
  WritePhoto(cli.Dir() / "sunset.jpg");
  run = cli({"add", "carol", (cli.Dir() / "sunset.jpg").string(), "--title", "Sunset"});
  ASSERT_EQ(run.status, 0) << run.err;
  run = cli({"sync"});
  ASSERT_EQ(run.status, 0) << run.err;
  // Not a terminal: the stages come as plain lines.
  EXPECT_NE(run.err.find("Storing Entry...    1/1"), std::string::npos) << run.err;
  ASSERT_EQ(service.Entries("carol").size(), 1u);
  EXPECT_EQ(service.Entries("carol")[0].title, "Sunset");

  run = cli({"--json", "account"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"email\": \"carol@example.com\""), std::string::npos) << run.out;
  run = cli({"check-updates"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("Tessary: You have the latest version of Tessary."), std::string::npos) << run.err;
}

TEST(CommandLine, RefusalsAndUsageErrorsHaveTheirExitStatuses) {
  E2eService service;
  Cli cli(service.Port());
  CliRun run = cli({"sync"});
  EXPECT_EQ(run.status, 1);
  run = cli({"login", "dave@example.com"});
  EXPECT_EQ(run.status, 2) << "no password anywhere";
  run = cli({"create-account", "a@b.c", "--first", "A", "--last", "B"}, "pw");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Tessary: Please enter a valid email address and password."), std::string::npos);
  run = cli({"create-account", "dave@example.com", "--first", "Dave", "--last", "Jones"}, "pw with blank");
  EXPECT_EQ(run.status, 1);
  run = cli({"no-such-command"});
  EXPECT_EQ(run.status, 2);

  service.AddUser("dave@example.com", "pw-dave");
  ASSERT_EQ(cli({"login", "dave@example.com"}, "pw-dave").status, 0);
  run = cli({"create-blog", "has.dot"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Tessary: A Blog URL can only contain alphanumeric characters or '_' and '-'."),
            std::string::npos);
  run = cli({"subscribe", "somewhere", "--download", "huge"});
  EXPECT_EQ(run.status, 2);
  service.AddBlog("elsewhere", "dave@example.com");
  run = cli({"--yes", "subscribe", "elsewhere", "--download", "Thumbnails", "--limit", "10"});
  ASSERT_EQ(run.status, 0) << run.err;
  run = cli({"subscribe", "ELSEWHERE"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Tessary: You're already subscribed to this blog."), std::string::npos);
  // A question without --yes on no terminal is answered No.
  run = cli({"unsubscribe", "elsewhere"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Do you wish to continue? No"), std::string::npos) << run.err;
  EXPECT_EQ(cli({"--yes", "unsubscribe", "elsewhere"}).status, 0);
}

TEST(CommandLine, CtrlCCancelsASyncWithStatus130) {
  testsupport::RawHttpServer silent;
  silent.EnqueueSilent();
  Cli cli(silent.Port());
  ASSERT_EQ(cli({"login", "erin@example.com"}, "pw").status, 0);
  const pid_t pid = cli.Start({"sync"});
  ASSERT_TRUE(silent.WaitForRequests(1));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  ::kill(pid, SIGINT);
  const CliRun run = cli.Wait(pid);
  EXPECT_EQ(run.status, 130) << run.err;
  EXPECT_NE(run.err.find("Tessary: Sync Cancelled."), std::string::npos) << run.err;
}

}  // namespace
}  // namespace e2e
