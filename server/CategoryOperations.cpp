#include "server/CategoryOperations.h"

#include "server/ServiceMessages.h"
#include "server/TextRules.h"

namespace server {

int CategoryOperations::CheckName(const std::string& name) {
  if (name.find_first_not_of(" \t\r\n") == std::string::npos) return kInvalidCategoryName;
  if (TextRules::Check(name, TextRules::kName) != kOk) return kInvalidCategoryName;
  return kOk;
}

int CategoryOperations::Add(OperationContext& ctx, AnswerWriter& out) {
  if (!ctx.IsOwner()) return kNoAddCategory;
  pugi::xml_node ca = ctx.Payload().child("CA");
  std::string name = SoapRequest::Text(ca, "NM");
  if (int code = CheckName(name); code != kOk) return code;
  if (ctx.content.FindCategoryByName(ctx.blog.id, name)) return kCategoryUsed;
  int64_t id = ctx.content.AddCategory(ctx.blog.id, name, ctx.now);
  if (id == 0) return kStoreFailure;
  out.Number("CI", id);
  return kOk;
}

int CategoryOperations::Edit(OperationContext& ctx, AnswerWriter& out) {
  if (!ctx.IsOwner()) return kNoEditCategory;
  pugi::xml_node ca = ctx.Payload().child("CA");
  int64_t id = 0;
  if (!SoapRequest::Number(ca, "CI", id)) return kInvalidRequest;
  auto category = ctx.content.FindCategory(id);
  if (!category || category->blog != ctx.blog.id || category->deleted) return kThisCategoryMissing;
  std::string name = SoapRequest::Text(ca, "NM");
  if (int code = CheckName(name); code != kOk) return code;
  auto same = ctx.content.FindCategoryByName(ctx.blog.id, name);
  if (same && same->id != id) return kCategoryUsed;
  if (!ctx.content.RenameCategory(id, name, ctx.now)) return kStoreFailure;
  out.Number("CI", id);
  return kOk;
}

int CategoryOperations::Delete(OperationContext& ctx, AnswerWriter&) {
  if (!ctx.IsOwner()) return kNoDeleteCategory;
  int64_t id = 0;
  if (!SoapRequest::Number(ctx.Payload().child("CA"), "CI", id)) return kInvalidRequest;
  auto category = ctx.content.FindCategory(id);
  if (!category || category->blog != ctx.blog.id) return kThisCategoryMissing;
  // A retried deletion succeeds, so a client whose answer was lost is not stuck.
  if (category->deleted) return kOk;
  return ctx.content.DeleteCategory(id, ctx.now) ? kOk : kStoreFailure;
}

}  // namespace server
