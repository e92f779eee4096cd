#include "server/CommentOperations.h"

#include "server/ServiceMessages.h"
#include "server/TextRules.h"
#include "server/Timestamp.h"

namespace server {

int CommentOperations::ReadFields(pugi::xml_node om, std::string& date, std::string& text) {
  if (!om) return kInvalidRequest;
  date = SoapRequest::Text(om, "OD");
  text = SoapRequest::Text(om, "OT");
  int64_t unused = 0;
  if (!Timestamp::Parse(date, unused)) return kInvalidDate;
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) return kInvalidRequest;
  return TextRules::Check(text, TextRules::kComment);
}

int CommentOperations::Add(OperationContext& ctx, AnswerWriter& out) {
  if (!ctx.blog.comments) return kNoPostComment;
  pugi::xml_node om = ctx.Payload().child("OM");
  int64_t entryId = 0;
  if (!SoapRequest::Number(om, "ID", entryId)) return kInvalidRequest;
  auto entry = ctx.content.FindEntry(entryId);
  if (!entry || entry->blog != ctx.blog.id || entry->deleted) return kEntryMissing;
  CommentRecord comment;
  comment.blog = ctx.blog.id;
  comment.entry = entryId;
  comment.author = ctx.user.id;
  if (int code = ReadFields(om, comment.dateText, comment.text); code != kOk) return code;
  comment.id = ctx.content.AddComment(comment, ctx.now);
  if (comment.id == 0) return kStoreFailure;
  out.Number("OI", comment.id);
  out.Text("BY", DisplayName(ctx.user.firstName, ctx.user.lastName, ctx.user.email));
  return kOk;
}

int CommentOperations::Edit(OperationContext& ctx, AnswerWriter& out) {
  pugi::xml_node om = ctx.Payload().child("OM");
  int64_t id = 0;
  if (!SoapRequest::Number(om, "OI", id)) return kInvalidRequest;
  auto comment = ctx.content.FindComment(id);
  if (!comment || comment->blog != ctx.blog.id || comment->deleted) return kCommentMissing;
  if (comment->author != ctx.user.id) return kNoEditComment;
  std::string date;
  std::string text;
  if (int code = ReadFields(om, date, text); code != kOk) return code;
  if (!ctx.content.UpdateComment(id, date, text, ctx.now)) return kStoreFailure;
  out.Number("OI", id);
  out.Text("BY", comment->authorName);
  return kOk;
}

int CommentOperations::Delete(OperationContext& ctx, AnswerWriter&) {
  int64_t id = 0;
  if (!SoapRequest::Number(ctx.Payload().child("OM"), "OI", id)) return kInvalidRequest;
  auto comment = ctx.content.FindComment(id);
  if (!comment || comment->blog != ctx.blog.id) return kCommentMissing;
  if (comment->author != ctx.user.id && !ctx.IsOwner()) return kNoDeleteComment;
  if (comment->deleted) return kOk;
  return ctx.content.DeleteComment(id, ctx.now) ? kOk : kStoreFailure;
}

}  // namespace server
