#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <string>

namespace ui {

// Modal message boxes captioned with the program title, drawn inside the
// phone's screen (a transient phone screen before the program's window exists).
class MessageBox {
 public:
  enum class Icon { None, Exclamation, Error, Information, Question };
  enum Answer : int { kOk = 1, kYes = 6, kNo = 7 };

  struct Request {
    QString text;
    Icon icon = Icon::None;
    bool yesNo = false;
    bool defaultNo = false;
  };

  // OK box; answers kOk.
  static int Show(const std::string& text, Icon icon);
  // Yes/No question; answers kYes or kNo.
  static int Ask(const std::string& text, bool defaultNo);
  static int Show(const Request& request);

  // Answers every box instead of showing it (tests); an empty function restores
  // the real boxes.
  static void SetResponder(std::function<int(const Request&)> responder);
};

}  // namespace ui
