#pragma once

#include <QString>

namespace ui {

// One line for each change of what the phone shows, appended to the file that
// the environment variable TESSARY_UI_TRACE names (nothing is written without
// it): the window on top, the view's mode, a message box's text. The tests that
// drive the program with real keys and clicks read it, and so can a bug report.
class UiTrace {
 public:
  static bool Enabled();
  static void Write(const QString& kind, const QString& detail);
};

}  // namespace ui
