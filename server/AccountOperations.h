#pragma once

#include "server/AnswerWriter.h"
#include "server/OperationContext.h"

namespace server {

// "GU", "EU", "CreateAccount" and "CreateBlog".
class AccountOperations {
 public:
  static int GetUser(OperationContext& ctx, AnswerWriter& out);
  static int EditUser(OperationContext& ctx, AnswerWriter& out);
  static int CreateAccount(OperationContext& ctx, AnswerWriter& out);
  static int CreateBlog(OperationContext& ctx, AnswerWriter& out);

  // Names nobody may take because the service's own paths use them.
  static bool IsReserved(const std::string& url);
};

}  // namespace server
