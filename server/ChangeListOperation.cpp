#include "server/ChangeListOperation.h"

#include <string>
#include <unordered_map>
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

  // Entries and comments go into the answer as they are read. The few authors'
  // names are made once, the photo addresses in one reused buffer.
  std::unordered_map<int64_t, std::string> authors;
  auto authorName = [&authors](int64_t id, std::string_view first, std::string_view last,
                               std::string_view email) -> const std::string& {
    auto known = authors.find(id);
    if (known == authors.end()) known = authors.emplace(id, DisplayName(first, last, email)).first;
    return known->second;
  };
  const std::string photoFolder = ctx.urls.PhotoFolder();
  std::string url;
  auto photoUrl = [&](std::string_view key, char variant) -> const std::string& {
    url = photoFolder;
    PhotoStore::AppendFileName(url, key, variant);
    return url;
  };
  // With a limit, only the comments of the entries listed go out.
  const bool onlyListed = since == ContentStore::kLiveOnly && limit > 0;
  std::unordered_set<int64_t> listed;
  out.Open("PS");
  ctx.content.VisitEntries(ctx.blog.id, since, limit, [&](const ContentStore::EntryRow& entry) {
    if (onlyListed) listed.insert(entry.id);
    out.OpenChild("PI", entry.deleted);
    out.Number("CI", entry.category);
    out.Number("UI", entry.author);
    out.Number("ID", entry.id);
    out.Text("TI", entry.title);
    out.Text("CP", entry.caption);
    out.Text("BY", authorName(entry.author, entry.firstName, entry.lastName, entry.email));
    out.Text("OU", photoUrl(entry.photoKey, 0));
    out.Text("PU", photoUrl(entry.photoKey, 'm'));
    out.Text("TU", photoUrl(entry.photoKey, 't'));
    out.Text("PD", entry.dateText);
    out.Text("TD", entry.date2Text);
    out.Close("PI");
  });
  out.Close("PS");
  out.Open("OS");
  ctx.content.VisitComments(ctx.blog.id, since, [&](const ContentStore::CommentRow& comment) {
    if (onlyListed && listed.count(comment.entry) == 0) return;
    out.OpenChild("OM", comment.deleted);
    out.Number("OI", comment.id);
    out.Number("ID", comment.entry);
    out.Number("UI", comment.author);
    out.Text("BY", authorName(comment.author, comment.firstName, comment.lastName, comment.email));
    out.Text("OD", comment.dateText);
    out.Text("OT", comment.text);
    out.Close("OM");
  });
  out.Close("OS");
  return kOk;
}

}  // namespace server
