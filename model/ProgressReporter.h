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
  // Advances the animation and handles pending user input.
  virtual void Pump() = 0;
  // The user has pressed Cancel since the last ResetCancel.
  virtual bool IsCancelled() = 0;
  virtual void ResetCancel() = 0;
};

}  // namespace model
