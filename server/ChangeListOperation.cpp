#include "server/ChangeListOperation.h"

#include <unordered_set>

#include "server/ServiceMessages.h"
#include "server/Timestamp.h"

namespace server {

int ChangeListOperation::CheckViewPassword(OperationContext& ctx) {
  if (ctx.OpenWithoutViewPassword()) return kOk;
  pugi::xml_node vp = ctx.Payload().child("VP");
  std::string digest = SoapRequest::Text(vp, "DI");
  if (digest.empty()) return kPasswordProtected;
  std::string nonce = SoapRequest::Text(vp, "NO");
  std::string created = SoapRequest::Text(vp, "CR");
  // A hidden blog without a view password is open to nobody but its owner and members.
  if (ctx.blog.viewPassword.empty() ||
      !ctx.authenticator.DigestMatches(digest, nonce, created, ctx.blog.viewPassword, ctx.now)) {
    return kWrongViewPassword;
  }
  // A block is good once, like the authentication block.
  if (!ctx.authenticator.UseViewNonce(ctx.users, nonce, created, ctx.now, ctx.viewNonceExpires)) {
    return kWrongViewPassword;
  }
  ctx.viewNonce = nonce;
  return ctx.blogs.AddViewer(ctx.blog, ctx.user.id) ? kOk : kStoreFailure;
}

void ChangeListOperation::WriteBlog(OperationContext& ctx, AnswerWriter& out) {
  const BlogRecord& blog = ctx.blog;
  out.Open("BS").Open("BL");
  out.Text("BT", blog.title);
  out.Text("ST", blog.subtitle);
  out.Text("TP", blog.group ? "group" : "normal");
  out.Text("VI", blog.hidden ? "hidden" : "normal");
  out.Text("WA", ctx.CanWrite() ? "yes" : "no");
  out.Text("CM", blog.comments ? "yes" : "no");
  out.Number("BO", blog.owner);
  out.Close("BL").Close("BS");
}

int ChangeListOperation::GetChanges(OperationContext& ctx, AnswerWriter& out) {
  if (int code = CheckViewPassword(ctx); code != kOk) return code;
  pugi::xml_node rq = ctx.Payload();
  int64_t since = ContentStore::kLiveOnly;
  std::string ts = SoapRequest::Text(rq, "TS");
  if (!ts.empty()) {
    if (!Timestamp::Parse(ts, since) || since > ctx.now || since < 0) return kInvalidTimestamp;
  }
  int64_t limit = 0;
  if (!SoapRequest::Number(rq, "MX", limit)) return kInvalidRequest;
  if (since != ContentStore::kLiveOnly || limit >= kNoLimit) limit = 0;

  const std::string& name = ctx.blog.url;
  std::vector<CategoryRecord> categories = ctx.content.Categories(ctx.blog.id, since);
  std::vector<EntryRecord> entries = ctx.content.Entries(ctx.blog.id, since, limit);
  std::vector<CommentRecord> comments = ctx.content.Comments(ctx.blog.id, since);
  if (since == ContentStore::kLiveOnly && limit > 0) {
    std::unordered_set<int64_t> listed;
    for (const EntryRecord& entry : entries) listed.insert(entry.id);
    std::erase_if(comments, [&](const CommentRecord& c) { return listed.count(c.entry) == 0; });
  }

  out.Text("TS", Timestamp::FormatUtc(ctx.now));
  WriteBlog(ctx, out);
  out.Open("CS");
  for (const CategoryRecord& category : categories) {
    out.OpenChild("CA", category.deleted);
    out.Number("CI", category.id);
    out.Text("NM", category.name);
    out.Text("UR", ctx.urls.Category(name, category.id));
    out.Close("CA");
  }
  out.Close("CS");
  out.Open("PS");
  for (const EntryRecord& entry : entries) {
    out.OpenChild("PI", entry.deleted);
    out.Number("CI", entry.category);
    out.Number("UI", entry.author);
    out.Number("ID", entry.id);
    out.Text("TI", entry.title);
    out.Text("CP", entry.caption);
    out.Text("BY", entry.authorName);
    out.Text("OU", ctx.urls.Photo(PhotoStore::FileName(entry.photoKey)));
    out.Text("PU", ctx.urls.Photo(PhotoStore::FileName(entry.photoKey, 'm')));
    out.Text("TU", ctx.urls.Photo(PhotoStore::FileName(entry.photoKey, 't')));
    out.Text("PD", entry.dateText);
    out.Text("TD", entry.date2Text);
    out.Close("PI");
  }
  out.Close("PS");
  out.Open("OS");
  for (const CommentRecord& comment : comments) {
    out.OpenChild("OM", comment.deleted);
    out.Number("OI", comment.id);
    out.Number("ID", comment.entry);
    out.Number("UI", comment.author);
    out.Text("BY", comment.authorName);
    out.Text("OD", comment.dateText);
    out.Text("OT", comment.text);
    out.Close("OM");
  }
  out.Close("OS");
  return kOk;
}

}  // namespace server
