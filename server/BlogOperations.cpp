#include "server/BlogOperations.h"

#include "server/ServiceMessages.h"
#include "server/TextRules.h"

namespace server {

int BlogOperations::EditBlog(OperationContext& ctx, AnswerWriter& out) {
  if (!ctx.IsOwner()) return kNoEditBlog;
  pugi::xml_node bl = ctx.Payload().child("BL");
  if (!bl) return kInvalidRequest;
  std::string title = SoapRequest::Text(bl, "BT");
  std::string subtitle = SoapRequest::Text(bl, "ST");
  bool hidden = SoapRequest::Text(bl, "VI") != "normal";
  if (int code = TextRules::Check(title, TextRules::kTitle); code != kOk) return code;
  if (int code = TextRules::Check(subtitle, TextRules::kSubtitle); code != kOk) return code;
  if (!ctx.blogs.UpdateSettings(ctx.blog.id, title, subtitle, hidden, ctx.now)) return kStoreFailure;
  out.Text("BT", title);
  out.Text("ST", subtitle);
  out.Text("VI", hidden ? "hidden" : "normal");
  return kOk;
}

}  // namespace server
