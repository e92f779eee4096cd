#pragma once

#include "server/AnswerWriter.h"
#include "server/OperationContext.h"

namespace server {

// "PhotoEMail" (recorded in the outbox and written as DIR/outbox/ID.eml) and
// "RemoteBlog" (recorded as a post to one of the user's remote blogs).
class MailOperations {
 public:
  static constexpr size_t kMaxRecipients = 50;

  static int PhotoEmail(OperationContext& ctx, AnswerWriter& out);
  static int RemoteBlog(OperationContext& ctx, AnswerWriter& out);

 private:
  // Category and entry of the request; a non-zero entry must be live in the blog.
  static int ReadTarget(OperationContext& ctx, int64_t& category, int64_t& entry);
  static std::string Link(OperationContext& ctx, int64_t category, int64_t entry);
  static std::string MailText(OperationContext& ctx, int64_t id, const std::string& recipients,
                              const std::string& message, const std::string& link);
};

}  // namespace server
