#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QSocketNotifier;
class QWidget;

namespace photo {

// The older external camera program, reached through its agent: a local socket
// named "IACW_AGENT" in the device root that the program listens on. The launch
// starts the program when no agent answers, waits for its agent, and hands the
// request over; the program's answer arrives later on the same connection and
// goes to the answer handler, after the close request for its capture window.
class HtcCameraAgent : public QObject {
  Q_OBJECT

 public:
  static constexpr int kWaitSteps = 100;
  static constexpr int kWaitMilliseconds = 50;

  using Sleeper = std::function<void(int milliseconds)>;
  using AnswerHandler = std::function<void(const std::string& path)>;

  explicit HtcCameraAgent(QObject* parent = nullptr);
  ~HtcCameraAgent() override;

  // Hands over a request for a photo in the phone folder `folder`, starting the
  // program at the phone path `executable` when its agent is not there. Answers
  // 2 once handed over, or 0 after "The Camera app failed to start." (its
  // window `owner` brought to the front first when the agent never came).
  int Launch(QWidget* owner, const std::string& executable, const std::string& folder);
  void SetAnswerHandler(AnswerHandler handler) { handler_ = std::move(handler); }
  // How the launch waits between its looks for the agent (tests count them).
  void SetSleeper(Sleeper sleeper) { sleep_ = std::move(sleeper); }
  bool Connected() const { return fd_ >= 0; }

 private:
  bool Connect();
  void Disconnect();
  bool Send(const std::vector<uint8_t>& message);
  void OnReadable();
  // Acts on every whole message received; false when the peer broke the framing.
  bool TakeMessages();
  static void Refuse(QWidget* owner);

  int fd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
  std::vector<uint8_t> incoming_;
  AnswerHandler handler_;
  Sleeper sleep_;
};

}  // namespace photo
