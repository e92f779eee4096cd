#include "photo/HtcCameraAgent.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QProcess>
#include <QSocketNotifier>
#include <QThread>
#include <QWidget>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "photo/HtcCameraMessages.h"
#include "platform/DeviceFileSystem.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "ui/MessageBox.h"

namespace photo {

namespace {

// Connects `fd` to the socket at `host`; a path too long for a socket address
// is reached through its folder's descriptor.
bool ConnectTo(int fd, const std::filesystem::path& host) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::string target = host.string();
  int folder = -1;
  if (target.size() >= sizeof(address.sun_path)) {
    folder = ::open(host.parent_path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return false;
    target = "/proc/self/fd/" + std::to_string(folder) + "/" + host.filename().string();
  }
  std::memcpy(address.sun_path, target.c_str(), std::min(target.size() + 1, sizeof(address.sun_path) - 1));
  int rc;
  do {
    rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
  } while (rc != 0 && errno == EINTR);
  if (folder >= 0) ::close(folder);
  return rc == 0;
}

}  // namespace

HtcCameraAgent::HtcCameraAgent(QObject* parent)
    : QObject(parent), sleep_([](int milliseconds) { QThread::msleep(static_cast<unsigned long>(milliseconds)); }) {}

HtcCameraAgent::~HtcCameraAgent() { Disconnect(); }

int HtcCameraAgent::Launch(QWidget* owner, const std::string& executable, const std::string& folder) {
  // A program that went away since the last photo is started again.
  if (Connected()) OnReadable();
  if (!Connected() && !Connect()) {
    platform::DeviceFileSystem& fs = platform::DeviceFileSystem::Current();
    std::filesystem::path program;
    if (fs.ToHostPath(executable, program) != 0 ||
        !QProcess::startDetached(QString::fromStdString(program.string()), {},
                                 QString::fromStdString(fs.HostRoot().string()))) {
      Refuse(nullptr);
      return 0;
    }
    for (int look = 0; look < kWaitSteps && !Connected(); ++look) {
      sleep_(kWaitMilliseconds);
      Connect();
    }
    if (!Connected()) {
      Refuse(owner);
      return 0;
    }
  }
  if (!Send(htc::Frame(htc::kHandOverId, htc::HandOverBlock(folder)))) {
    Refuse(owner);
    return 0;
  }
  return 2;
}

void HtcCameraAgent::Refuse(QWidget* owner) {
  if (owner) {
    owner->window()->raise();
    owner->window()->activateWindow();
  }
  ui::MessageBox::Show(platform::LoadString(platform::strings::kCameraFailedToStart),
                       ui::MessageBox::Icon::Exclamation);
}

bool HtcCameraAgent::Connect() {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  if (!ConnectTo(fd, platform::DeviceFileSystem::Current().HostRoot() / htc::kAgentName)) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  incoming_.clear();
  notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] { OnReadable(); });
  return true;
}

void HtcCameraAgent::Disconnect() {
  // The notifier may be the one whose signal runs now.
  if (notifier_) {
    notifier_->setEnabled(false);
    notifier_->deleteLater();
  }
  notifier_ = nullptr;
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  incoming_.clear();
}

bool HtcCameraAgent::Send(const std::vector<uint8_t>& message) {
  size_t sent = 0;
  while (fd_ >= 0 && sent < message.size()) {
    const ssize_t n = ::send(fd_, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      Disconnect();
      return false;
    }
    sent += static_cast<size_t>(n);
  }
  return fd_ >= 0;
}

void HtcCameraAgent::OnReadable() {
  bool ended = false;
  uint8_t chunk[1024];
  while (fd_ >= 0) {
    const ssize_t n = ::recv(fd_, chunk, sizeof(chunk), MSG_DONTWAIT);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ended = errno != EAGAIN && errno != EWOULDBLOCK;
      break;
    }
    if (n == 0) {
      ended = true;
      break;
    }
    incoming_.insert(incoming_.end(), chunk, chunk + n);
    if (!TakeMessages()) {
      ended = true;
      break;
    }
  }
  if (ended) Disconnect();
}

bool HtcCameraAgent::TakeMessages() {
  std::vector<std::string> answers;
  size_t at = 0;
  bool framed = true;
  while (incoming_.size() - at >= htc::kHeaderSize) {
    const uint32_t id = htc::ReadU32(incoming_.data() + at);
    const uint32_t length = htc::ReadU32(incoming_.data() + at + 4);
    if (length > htc::kMaxBlock) {
      framed = false;
      break;
    }
    if (incoming_.size() - at - htc::kHeaderSize < length) break;
    const uint8_t* block = incoming_.data() + at + htc::kHeaderSize;
    at += htc::kHeaderSize + length;
    if (id != htc::kAnswerId) continue;
    htc::Answer answer;
    htc::ParseAnswer(block, length, answer);
    answers.push_back(answer.status == 0 ? answer.path : std::string());
  }
  incoming_.erase(incoming_.begin(), incoming_.begin() + static_cast<std::ptrdiff_t>(at));
  for (const std::string& path : answers) {
    Send(htc::Frame(htc::kCloseId, {}));
    // The photo becomes an entry once this returns: that may open screens.
    QMetaObject::invokeMethod(
        this, [this, path] { if (handler_) handler_(path); }, Qt::QueuedConnection);
  }
  return framed;
}

}  // namespace photo
