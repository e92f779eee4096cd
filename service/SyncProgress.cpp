#include "service/SyncProgress.h"

#include <cstdio>
#include <iterator>

#include "model/CWinBlogStorage.h"
#include "model/ProgressReporter.h"
#include "platform/ErrorCodes.h"
#include "platform/StringTable.h"

namespace service {

namespace {

// String ids of the stage texts, by stage.
constexpr uint32_t kStageTextIds[] = {145, 146, 147, 148, 149, 150, 151, 152,
                                      153, 154, 600, 601, 602, 603, 604, 605};

}  // namespace

std::string SyncProgress::StageText(uint32_t stage) {
  if (stage >= std::size(kStageTextIds)) return {};
  return platform::LoadString(kStageTextIds[stage]);
}

int SyncProgress::ProgressCallback(void* context, const net::ProgressRecord* record) {
  return context == nullptr ? 1 : static_cast<SyncProgress*>(context)->Report(record);
}

int SyncProgress::Report(const net::ProgressRecord* record) {
  if (record != nullptr && record->stage == net::kStageTransportFailure && record->code != platform::kErrCancelled) {
    transportFailure_ = record->code;
  }
  if (reporter_ == nullptr) return 1;
  reporter_->Pump();
  if (blog_ != nullptr) SetLine(0, blog_->Info().DisplayName());
  if (record != nullptr) {
    std::string stage = StageText(record->stage);
    if (record->number != 0) {
      char counter[32];
      std::snprintf(counter, sizeof counter, "    %d/%d", record->number, record->total);
      stage += counter;
    }
    SetLine(1, stage);
    if (record->text != nullptr) SetLine(2, record->text);
  }
  return reporter_->IsCancelled() ? 0 : 1;
}

void SyncProgress::SetLine(int line, const std::string& text) {
  if (lines_[line] == text) return;
  lines_[line] = text;
  reporter_->SetLine(line, text);
}

}  // namespace service
