#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <functional>
#include <string>

#include "manual/ProgramManual.h"
#include "server/AdminCommands.h"
#include "server/ServiceConfig.h"

namespace server {

// tessary-service's command line: the options and subcommands registered on a
// CLI11 app (its --help, manual page and shell completions all come from them)
// and the command the parse chose.
class ServiceCommandLine {
 public:
  static constexpr int kOk = 0;
  static constexpr int kFailure = 1;
  static constexpr int kUsage = 2;

  explicit ServiceCommandLine(CLI::App& app);
  ServiceCommandLine(const ServiceCommandLine&) = delete;
  ServiceCommandLine& operator=(const ServiceCommandLine&) = delete;

  // Runs the chosen command; answers the exit status.
  int Run();

  // The texts of the manual page and of the --help footer.
  static manual::ProgramManual Manual();

 private:
  void AddServe(CLI::App& app);
  void AddAccounts(CLI::App& app);
  void AddBlogs(CLI::App& app);
  void AddPublishedFiles(CLI::App& app);
  AdminCommands Admin() const;

  std::string dataDir_;
  int64_t freeQuota_ = 500;
  std::function<int()> run_;

  ServiceConfig config_;
  std::string listen_ = "127.0.0.1:8080";
  bool noAccessLog_ = false;

  AdminCommands::NewUser newUser_;
  int64_t quota_ = -1;
  AdminCommands::NewBlog newBlog_;
  bool noComments_ = false;
  std::string url_;
  std::string email_;
  std::string name_;
  std::string viewPassword_;
  std::string file_;
};

}  // namespace server
