#pragma once

#include "server/AnswerWriter.h"
#include "server/OperationContext.h"

namespace server {

// "AO", "EO" and "DCO": any signed-in user comments where the blog allows it; a
// comment is edited by its author and deleted by its author or the blog's owner.
class CommentOperations {
 public:
  static int Add(OperationContext& ctx, AnswerWriter& out);
  static int Edit(OperationContext& ctx, AnswerWriter& out);
  static int Delete(OperationContext& ctx, AnswerWriter& out);

 private:
  static int ReadFields(pugi::xml_node om, std::string& date, std::string& text);
};

}  // namespace server
