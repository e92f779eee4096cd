#pragma once

#include "server/AnswerWriter.h"
#include "server/OperationContext.h"

namespace server {

// "EB": the owner changes the blog's title, subtitle and visibility.
class BlogOperations {
 public:
  static int EditBlog(OperationContext& ctx, AnswerWriter& out);
};

}  // namespace server
