#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "model/ProgressReporter.h"

namespace cli {

// The progress of a long command on the command line: on a terminal one bar line
// on stderr that is redrawn (blog, stage with its count, detail), otherwise each
// new stage or detail as a plain line. Ctrl-C (SIGINT) is its Cancel: the first
// one asks the running operation to stop, a second one ends the program.
class CliProgress : public model::ProgressReporter {
 public:
  CliProgress();
  ~CliProgress() override;
  CliProgress(const CliProgress&) = delete;
  CliProgress& operator=(const CliProgress&) = delete;

  void SetText(std::string_view text) override;
  void SetLine(int line, std::string_view text) override;
  void Pump() override;
  bool IsCancelled() override;
  void ResetCancel() override;

  // Whether Ctrl-C was pressed during this command (not undone by ResetCancel).
  static bool Interrupted();
  // Ends the bar line before other output.
  void Finish();
  // Ends the bar line of the progress on screen, if any.
  static void ClearBar();

 private:
  void Draw();

  bool terminal_;
  bool drawn_ = false;
  int frame_ = 0;
  std::chrono::steady_clock::time_point lastDraw_{};
  std::string lines_[3];
  void (*previousHandler_)(int) = nullptr;
};

}  // namespace cli
