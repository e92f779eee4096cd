#pragma once

#include <string_view>

namespace model {

// Reports the course of a long operation (a sync, moving photos) and carries the
// user's Cancel. The GUI's progress window and the command line's progress bar
// implement it. Everything runs on the one thread: Pump lets the front end
// handle its events, Cancel included.
class ProgressReporter {
 public:
  virtual ~ProgressReporter() = default;

  // Shows one line of text (a stage, a file name, a blog name).
  virtual void SetText(std::string_view text) = 0;
  // Shows `text` on line `line` (0 the title, 1 the stage, 2 the detail) of a
  // front end that has several; others show it as their one line.
  virtual void SetLine(int line, std::string_view text) {
    static_cast<void>(line);
    SetText(text);
  }
  // Advances the animation and handles pending user input.
  virtual void Pump() = 0;
  // The user has pressed Cancel since the last ResetCancel.
  virtual bool IsCancelled() = 0;
  virtual void ResetCancel() = 0;
};

}  // namespace model
