#include "server/AccountOperations.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <vector>

#include "server/ServiceMessages.h"
#include "server/SoapRequest.h"
#include "server/TextRules.h"

namespace server {

namespace {

constexpr size_t kAlternates = 4;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// Up to four free names made from the taken one by appending a number.
std::vector<std::string> Alternates(BlogStore& blogs, const std::string& url) {
  std::vector<std::string> names;
  for (int n = 2; n < 1000 && names.size() < kAlternates; ++n) {
    std::string suffix = std::to_string(n);
    std::string name = url.substr(0, TextRules::kBlogUrl - suffix.size()) + suffix;
    if (!AccountOperations::IsReserved(name) && !blogs.Find(name)) names.push_back(name);
  }
  return names;
}

}  // namespace

bool AccountOperations::IsReserved(const std::string& url) {
  static const std::set<std::string> kReserved = {"ws", "photos", "downloads", "si", "admin"};
  return kReserved.count(Lower(url)) != 0;
}

int AccountOperations::GetUser(OperationContext& ctx, AnswerWriter& out) {
  out.Number("UI", ctx.user.id);
  out.Text("AT", ctx.user.pro ? "pro" : "free");
  out.Number("QT", ctx.user.quota);
  out.Open("SL");
  for (const std::string& name : ctx.users.Subscriptions(ctx.user.id)) out.Text("SU", name);
  out.Close("SL");
  out.Open("RR");
  for (const std::string& name : ctx.users.RemoteBlogs(ctx.user.id)) out.Text("RB", name);
  out.Close("RR");
  return kOk;
}

int AccountOperations::EditUser(OperationContext& ctx, AnswerWriter&) {
  pugi::xml_node list = ctx.Payload().child("EU").child("SL");
  std::vector<int64_t> blogs;
  for (pugi::xml_node su = list.child("SU"); su; su = su.next_sibling("SU")) {
    auto blog = ctx.blogs.Find(std::string(su.text().get()));
    if (blog && std::find(blogs.begin(), blogs.end(), blog->id) == blogs.end()) blogs.push_back(blog->id);
  }
  return ctx.users.ReplaceSubscriptions(ctx.user.id, blogs) ? kOk : kStoreFailure;
}

int AccountOperations::CreateAccount(OperationContext& ctx, AnswerWriter& out) {
  pugi::xml_node rq = ctx.Payload();
  UserRecord user;
  user.email = SoapRequest::Text(rq, "EMail");
  user.password = SoapRequest::Text(rq, "Password");
  user.firstName = SoapRequest::Text(rq, "FirstName");
  user.lastName = SoapRequest::Text(rq, "LastName");
  user.quota = ctx.config.freeQuota;
  if (!TextRules::IsEmail(user.email)) return kInvalidEmail;
  if (user.password.empty() || TextRules::Check(user.password, TextRules::kPassword) != kOk) return kInvalidPassword;
  for (const std::string* name : {&user.firstName, &user.lastName}) {
    if (int code = TextRules::Check(*name, TextRules::kName); code != kOk) return code;
  }
  if (ctx.users.FindByEmail(user.email)) return kEmailUsed;
  int64_t id = ctx.users.Add(user, ctx.now);
  if (id == 0) return kStoreFailure;
  out.Number("UI", id);
  return kOk;
}

int AccountOperations::CreateBlog(OperationContext& ctx, AnswerWriter& out) {
  pugi::xml_node rq = ctx.Payload();
  BlogRecord blog;
  blog.url = SoapRequest::Text(rq, "BlogURL");
  blog.title = SoapRequest::Text(rq, "Title");
  blog.subtitle = SoapRequest::Text(rq, "Subtitle");
  blog.hidden = SoapRequest::Text(rq, "Visibility") != "normal";
  blog.owner = ctx.user.id;
  if (!TextRules::IsBlogUrl(blog.url)) return kInvalidBlogUrl;
  if (int code = TextRules::Check(blog.title, TextRules::kTitle); code != kOk) return code;
  if (int code = TextRules::Check(blog.subtitle, TextRules::kSubtitle); code != kOk) return code;
  if (IsReserved(blog.url) || ctx.blogs.Find(blog.url)) {
    out.Text("MS", ServiceMessages::Text(kBlogUrlUsed));
    out.Open("Alternates");
    for (const std::string& name : Alternates(ctx.blogs, blog.url)) out.Text("Alternate", name);
    out.Close("Alternates");
    ctx.refusalWritten = true;
    return kBlogUrlUsed;
  }
  blog.id = ctx.blogs.Add(blog, ctx.now);
  if (blog.id == 0 || !ctx.users.Subscribe(ctx.user.id, blog.id)) return kStoreFailure;
  return kOk;
}

}  // namespace server
