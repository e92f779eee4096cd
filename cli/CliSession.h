#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "cli/CliContext.h"
#include "cli/CliProgress.h"
#include "cli/CliUserInterface.h"
#include "model/CWinBlogUser.h"

namespace cli {

// What a command that works with the account and the service sets up: the
// account loaded from the device root, the service address, the terminal user
// interface and the progress with its Ctrl-C.
class CliSession {
 public:
  explicit CliSession(CliContext& ctx);

  // Loads the account and its blogs; false (with a message) when the service
  // address is malformed.
  bool Start();

  model::CWinBlogUser& User() { return *user_; }
  CliUserInterface& Ui() { return ui_; }
  CliProgress& Progress() { return progress_; }

  // The blog named `urlName`, or null after printing that there is none.
  model::CWinBlogStorage* FindBlog(const std::string& urlName);
  // Whether the account has login data; prints how to log in when not.
  bool RequireLogin();

  // Runs `work` inside the network step (connection brought up first, released
  // after). A connection that fails or is cancelled answers 10201 or 1223.
  uint32_t WithNetwork(const std::function<uint32_t()>& work);

  // The exit status for a result code: 0, 130 after Ctrl-C or a cancel, else 1.
  int ExitStatus(uint32_t code) const;

 private:
  CliContext& ctx_;
  CliUserInterface ui_;
  CliProgress progress_;
  std::unique_ptr<model::CWinBlogUser> user_;
};

// A password from --password-stdin, else TESSARY_PASSWORD, else the terminal.
std::optional<std::string> ReadPassword(bool fromStdin);
// Photo size codes by their list names ("Nothing", "240x180", "Full size", ...)
// or numbers; none when unknown.
std::optional<uint16_t> ParseDownloadSize(const std::string& text);
std::optional<uint16_t> ParseUploadSize(const std::string& text);
const char* DownloadSizeName(uint16_t code);

}  // namespace cli
