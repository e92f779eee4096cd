#pragma once

#include "server/AnswerWriter.h"
#include "server/OperationContext.h"

namespace server {

// "GC": the blog, its categories, entries and comments; everything live on a
// first download, or everything changed since the client's timestamp.
class ChangeListOperation {
 public:
  static constexpr int64_t kNoLimit = 32768;

  static int GetChanges(OperationContext& ctx, AnswerWriter& out);

 private:
  static int CheckViewPassword(OperationContext& ctx);
  static void WriteBlog(OperationContext& ctx, AnswerWriter& out);
};

}  // namespace server
