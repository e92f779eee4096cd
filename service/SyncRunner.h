#pragma once

#include <cstdint>

namespace model {
class BlogEntry;
class CWinBlogStorage;
class CWinBlogUser;
class ProgressReporter;
}  // namespace model

namespace service {

class MorvaneBlogService;
class SyncProgress;

// The sync of one blog with the service, on the thread of the command that runs
// it; progress and Cancel go through the progress reporter.
class SyncRunner {
 public:
  // A stored timestamp older than this (170 days) asks for a full download.
  static constexpr uint32_t kMaxTimestampAge = 14688000;

  // The whole Sync command for an open blog: the network step, the HTTP client,
  // the blog sync, and the database written when the sync answered 0.
  static uint32_t RunSync(model::CWinBlogUser& user, model::CWinBlogStorage& blog,
                          model::ProgressReporter* progress);

  // The blog sync inside an open HTTP client: with an entry whose category the
  // service knows, only that entry is sent; otherwise the full sync from the
  // blog's timestamp, which is stored back whatever the result. A cancel shows
  // "Sync Cancelled." and answers 10201. The caller saves the database.
  static uint32_t SyncBlog(MorvaneBlogService& service, model::CWinBlogUser& user,
                           model::CWinBlogStorage& blog, model::BlogEntry* entry,
                           SyncProgress& progress);

  // The timestamp a sync starts from: 0 for one older than 170 days.
  static uint32_t StartTimestamp(uint32_t stored, uint32_t now);
};

}  // namespace service
