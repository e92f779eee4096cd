#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "net/Http.h"
#include "net/ProgressRecord.h"
#include "net/Stream.h"

namespace model {
class LocalBlogStorage;
}

namespace service {

// Applies the answer of "GC" to a blog's database: the blog record, then the
// categories, entries and comments that changed on the service, binding objects
// made on the device whose upload answer was lost. A full download first marks
// everything unconfirmed and afterwards drops what the service did not list.
class ChangeList {
 public:
  ChangeList(model::LocalBlogStorage& storage, net::Http& http, net::ProgressCallback callback,
             void* context, bool fullDownload);

  // 0, or the first failure of the database, which ends the walk.
  uint32_t Apply(net::Stream& answer);
  bool HasTimestamp() const { return hasTimestamp_; }
  uint32_t Timestamp() const { return timestamp_; }

 private:
  void ApplyBlog(const std::string& content);
  uint32_t ApplyCategory(const std::string& startTag, const std::string& content);
  uint32_t ApplyEntry(const std::string& startTag, const std::string& content);
  uint32_t ApplyComment(const std::string& startTag, const std::string& content);
  static bool IsDeleted(const std::string& startTag);

  model::LocalBlogStorage& storage_;
  net::Http& http_;
  net::ProgressCallback callback_;
  void* context_;
  bool fullDownload_;
  bool hasTimestamp_ = false;
  uint32_t timestamp_ = 0;
};

}  // namespace service
