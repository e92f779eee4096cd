#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/ProgressReporter.h"

namespace testsupport {

// A progress reporter for tests: records the texts shown and the pumps, and turns
// Cancel on once a given number of pumps has happened.
class RecordingProgress : public model::ProgressReporter {
 public:
  // cancelAfterPumps < 0: never cancel.
  explicit RecordingProgress(int cancelAfterPumps = -1) : cancelAfter_(cancelAfterPumps) {}

  void SetText(std::string_view text) override { texts.emplace_back(text); }
  void Pump() override { ++pumps; }
  bool IsCancelled() override { return cancelAfter_ >= 0 && pumps >= cancelAfter_; }
  void ResetCancel() override { cancelAfter_ = -1; }

  std::vector<std::string> texts;
  int pumps = 0;

 private:
  int cancelAfter_;
};

}  // namespace testsupport
