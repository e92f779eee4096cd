#pragma once

#include <cstdint>
#include <string>

#include "net/ProgressRecord.h"

namespace model {
class CWinBlogStorage;
class ProgressReporter;
}  // namespace model

namespace service {

// The context of the progress callback: the progress the user watches (three
// lines: the blog's name, the stage with its count, the detail) and, while a
// blog is worked on, that blog. Lines are only rewritten when they change.
class SyncProgress {
 public:
  explicit SyncProgress(model::ProgressReporter* reporter) : reporter_(reporter) {}

  void SetBlog(const model::CWinBlogStorage* blog) { blog_ = blog; }
  model::ProgressReporter* Reporter() const { return reporter_; }
  // The code of the last transfer that failed on the way (not by a cancel), or
  // 0: the sign that a failed operation never reached the service's answer.
  uint32_t TransportFailure() const { return transportFailure_; }

  // The callback of every service operation; `context` is a SyncProgress. Answers
  // 0 once the user has pressed Cancel, 1 to go on.
  static int ProgressCallback(void* context, const net::ProgressRecord* record);
  // The text of a stage, empty for stages without one.
  static std::string StageText(uint32_t stage);

 private:
  int Report(const net::ProgressRecord* record);
  void SetLine(int line, const std::string& text);

  model::ProgressReporter* reporter_;
  const model::CWinBlogStorage* blog_ = nullptr;
  uint32_t transportFailure_ = 0;
  std::string lines_[3];
};

}  // namespace service
