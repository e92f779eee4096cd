#include <gtest/gtest.h>

#include "model/CWinBlogUser.h"
#include "service/SyncProgress.h"
#include "service/SyncRunner.h"
#include "tests/support/RecordingProgress.h"
#include "tests/support/TempDeviceRoot.h"

namespace servicetest {
namespace {

using service::SyncProgress;

// Records which line each text went to.
class LineProgress : public testsupport::RecordingProgress {
 public:
  using RecordingProgress::RecordingProgress;
  void SetLine(int line, std::string_view text) override {
    lines.emplace_back(line, std::string(text));
  }
  std::vector<std::pair<int, std::string>> lines;
};

TEST(SyncProgress, ShowsBlogStageWithCounterAndDetailOnTheirLines) {
  testsupport::TempDeviceRoot root;
  model::CWinBlogUser user;
  std::unique_ptr<model::CWinBlogStorage> blog = user.MakeBlog("myblog");
  blog->GetBlogInfo()->title = "My Blog";
  LineProgress progress;
  SyncProgress context(&progress);
  context.SetBlog(blog.get());

  net::ProgressRecord record;
  record.stage = 3;
  record.text = "Sunset";
  record.number = 2;
  record.total = 5;
  EXPECT_EQ(SyncProgress::ProgressCallback(&context, &record), 1);
  // Asking only whether to go on changes no line.
  EXPECT_EQ(SyncProgress::ProgressCallback(&context, nullptr), 1);
  record.stage = net::kStageTransportFailure;
  record.number = 0;
  record.text = nullptr;
  EXPECT_EQ(SyncProgress::ProgressCallback(&context, &record), 1);

  const std::vector<std::pair<int, std::string>> expected = {
      {0, "My Blog"}, {1, "Storing Entry...    2/5"}, {2, "Sunset"}, {1, ""}};
  EXPECT_EQ(progress.lines, expected);
  EXPECT_EQ(progress.pumps, 3);
}

TEST(SyncProgress, AnswersStopOnceCancelledAndGoesOnWithoutAReporter) {
  LineProgress progress(2);
  SyncProgress context(&progress);
  EXPECT_EQ(SyncProgress::ProgressCallback(&context, nullptr), 1);
  EXPECT_EQ(SyncProgress::ProgressCallback(&context, nullptr), 0);
  SyncProgress silent(nullptr);
  EXPECT_EQ(SyncProgress::ProgressCallback(&silent, nullptr), 1);
}

TEST(SyncProgress, EveryStageHasItsTextAndOthersNone) {
  EXPECT_EQ(SyncProgress::StageText(0), "Synchronizing...");
  EXPECT_EQ(SyncProgress::StageText(9), "Processing...");
  EXPECT_EQ(SyncProgress::StageText(10), "Getting Channels...");
  EXPECT_EQ(SyncProgress::StageText(15), "Sending Blog Post...");
  for (uint32_t stage = 0; stage < 16; ++stage) EXPECT_FALSE(SyncProgress::StageText(stage).empty()) << stage;
  EXPECT_EQ(SyncProgress::StageText(16), "");
}

TEST(SyncRunner, ATimestampOlderThan170DaysStartsAFullDownload) {
  const uint32_t now = 4'000'000'000u;
  const uint32_t limit = service::SyncRunner::kMaxTimestampAge;
  EXPECT_EQ(limit, 170u * 86400u);
  EXPECT_EQ(service::SyncRunner::StartTimestamp(now - limit, now), now - limit);
  EXPECT_EQ(service::SyncRunner::StartTimestamp(now - limit - 1, now), 0u);
  EXPECT_EQ(service::SyncRunner::StartTimestamp(now - 171u * 86400u, now), 0u);
  EXPECT_EQ(service::SyncRunner::StartTimestamp(0, now), 0u);
  // A clock set back leaves a timestamp from the future alone.
  EXPECT_EQ(service::SyncRunner::StartTimestamp(now + 10, now), now + 10);
}

}  // namespace
}  // namespace servicetest
