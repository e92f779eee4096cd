#include "cli/CliSession.h"

#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "model/ModelConstants.h"
#include "platform/ErrorCodes.h"
#include "platform/Preferences.h"
#include "platform/StringTable.h"
#include "platform/TextConversion.h"
#include "service/NetworkConnection.h"
#include "service/ServiceErrors.h"
#include "service/ServiceSettings.h"

namespace cli {

namespace {

std::optional<bool> AnswerOf(const CliContext& ctx) {
  if (ctx.yes) return true;
  if (ctx.no) return false;
  return std::nullopt;
}

constexpr const char* kDownloadNames[] = {"Nothing", "Thumbnails", "176x132", "240x180",
                                          "320x240", "480x360",    "640x480", "Full size"};
constexpr const char* kUploadNames[] = {"320x240", "480x360", "640x480", "Full size"};

bool SameNoCase(const std::string& a, const char* b) {
  std::string_view other = b;
  if (a.size() != other.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(other[i]))) {
      return false;
    }
  }
  return true;
}

template <size_t N>
std::optional<uint16_t> ParseSize(const std::string& text, const char* const (&names)[N]) {
  for (size_t i = 0; i < N; ++i) {
    if (SameNoCase(text, names[i])) return static_cast<uint16_t>(i);
  }
  if (SameNoCase(text, "full")) return static_cast<uint16_t>(N - 1);
  if (text.size() == 1 && text[0] >= '0' && static_cast<size_t>(text[0] - '0') < N) {
    return static_cast<uint16_t>(text[0] - '0');
  }
  return std::nullopt;
}

}  // namespace

CliSession::CliSession(CliContext& ctx) : ctx_(ctx), ui_(AnswerOf(ctx)) {}

bool CliSession::Start() {
  service::ServiceSettings& settings = service::ServiceSettings::Current();
  if (!ctx_.service.empty() && !settings.Parse(ctx_.service)) {
    std::cerr << "tessary-cli: --service must look like HOST[:PORT]\n";
    return false;
  }
  platform::CreatePreferenceKeys();
  user_ = std::make_unique<model::CWinBlogUser>();
  user_->LoadUser();
  return true;
}

model::CWinBlogStorage* CliSession::FindBlog(const std::string& urlName) {
  model::CWinBlogStorage* blog = user_->FindBlog(platform::Utf8ToUtf16(urlName));
  if (blog == nullptr) std::cerr << "tessary-cli: there is no blog \"" << urlName << "\" on this device\n";
  return blog;
}

bool CliSession::RequireLogin() {
  if (!user_->GetEmail().empty() && !user_->GetPassword().empty()) return true;
  std::cerr << "tessary-cli: no account on this device; use login or create-account first\n";
  return false;
}

uint32_t CliSession::WithNetwork(const std::function<uint32_t()>& work) {
  uint32_t code = 0;
  switch (service::NetworkConnection::ConnectNetwork(&progress_)) {
    case service::NetworkConnection::Outcome::Connected:
      code = work();
      service::NetworkConnection::ReleaseNetwork();
      break;
    case service::NetworkConnection::Outcome::Cancelled:
      code = platform::kErrCancelled;
      break;
    case service::NetworkConnection::Outcome::Failed:
      code = service::kResultAlreadyReported;
      break;
  }
  progress_.Finish();
  return code;
}

int CliSession::ExitStatus(uint32_t code) const {
  if (code == platform::kErrCancelled || CliProgress::Interrupted()) return CliContext::kCancelled;
  return code == 0 ? CliContext::kOk : CliContext::kFailure;
}

std::optional<std::string> ReadPassword(bool fromStdin) {
  std::string password;
  if (fromStdin) {
    if (!std::getline(std::cin, password)) return std::nullopt;
    if (!password.empty() && password.back() == '\r') password.pop_back();
    return password;
  }
  if (const char* env = std::getenv("TESSARY_PASSWORD"); env != nullptr) return std::string(env);
  if (::isatty(STDIN_FILENO) == 0) return std::nullopt;
  std::cerr << "Password: " << std::flush;
  termios saved{};
  const bool restore = ::tcgetattr(STDIN_FILENO, &saved) == 0;
  if (restore) {
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  const bool ok = static_cast<bool>(std::getline(std::cin, password));
  if (restore) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
  std::cerr << '\n';
  if (!ok) return std::nullopt;
  return password;
}

std::optional<uint16_t> ParseDownloadSize(const std::string& text) { return ParseSize(text, kDownloadNames); }

std::optional<uint16_t> ParseUploadSize(const std::string& text) { return ParseSize(text, kUploadNames); }

const char* DownloadSizeName(uint16_t code) {
  return code < std::size(kDownloadNames) ? kDownloadNames[code] : "?";
}

}  // namespace cli
