#include "cli/CliUserInterface.h"

#include <termios.h>
#include <unistd.h>

#include <iostream>

#include "cli/CliContext.h"
#include "cli/CliProgress.h"

namespace cli {

namespace {

// Reads one line from the terminal, without echo when asked.
std::optional<std::string> ReadTerminalLine(bool hidden) {
  termios saved{};
  const bool restore = hidden && ::tcgetattr(STDIN_FILENO, &saved) == 0;
  if (restore) {
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  std::string line;
  const bool ok = static_cast<bool>(std::getline(std::cin, line));
  if (restore) {
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::cerr << '\n';
  }
  if (!ok) return std::nullopt;
  return line;
}

}  // namespace

CliUserInterface::CliUserInterface(std::optional<bool> answer)
    : interactive_(::isatty(STDIN_FILENO) != 0 && ::isatty(STDERR_FILENO) != 0),
      previous_(&model::UserInterface::Current()),
      answer_(answer) {
  model::UserInterface::SetCurrent(this);
}

CliUserInterface::~CliUserInterface() { model::UserInterface::SetCurrent(previous_); }

void CliUserInterface::ShowMessage(std::string_view text, model::MessageIcon) {
  CliProgress::ClearBar();
  CliContext::Message(std::string(text));
}

bool CliUserInterface::AskYesNo(std::string_view text) {
  CliProgress::ClearBar();
  if (answer_) {
    CliContext::Message(std::string(text) + (*answer_ ? " Yes" : " No"));
    return *answer_;
  }
  if (!interactive_) {
    CliContext::Message(std::string(text) + " No");
    return false;
  }
  std::cerr << "Tessary: " << text << " [y/N] " << std::flush;
  const std::optional<std::string> line = ReadTerminalLine(false);
  return line && !line->empty() && (line->front() == 'y' || line->front() == 'Y');
}

bool CliUserInterface::AskViewPassword(std::string_view blogName, std::string& password) {
  if (viewPassword) {
    password = *viewPassword;
    viewPassword.reset();
    passwordRefused_ = true;
    return !password.empty();
  }
  CliProgress::ClearBar();
  std::optional<std::string> line;
  if (interactive_) {
    std::cerr << "Tessary: Please enter the view password for the blog: " << blogName << ": " << std::flush;
    line = ReadTerminalLine(true);
  }
  if (!line || line->empty()) {
    std::cerr << "tessary-cli: the blog '" << blogName
              << (passwordRefused_ ? "' did not accept the view password given" : "' is password protected")
              << "; give its view password with --view-password PASSWORD\n";
    return false;
  }
  password = *line;
  return true;
}

model::NewVersionChoice CliUserInterface::OfferNewVersion(std::string_view version) {
  CliContext::Message("Tessary " + std::string(version) + " is available" +
                      (downloadPage.empty() ? std::string(".") : " at " + downloadPage + "."));
  // Quitting to install belongs to the phone; here the offer is only shown.
  return model::NewVersionChoice{};
}

// A blog the account check subscribes to keeps the default sync settings here;
// `blog-prefs` changes them afterwards.
void CliUserInterface::EditNewSubscription(model::CWinBlogStorage&) {}

}  // namespace cli
