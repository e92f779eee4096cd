#pragma once

#include "server/AnswerWriter.h"
#include "server/OperationContext.h"

namespace server {

// "AC", "EC" and "DC": only a blog's owner manages its categories.
class CategoryOperations {
 public:
  static int Add(OperationContext& ctx, AnswerWriter& out);
  static int Edit(OperationContext& ctx, AnswerWriter& out);
  static int Delete(OperationContext& ctx, AnswerWriter& out);

 private:
  static int CheckName(const std::string& name);
};

}  // namespace server
