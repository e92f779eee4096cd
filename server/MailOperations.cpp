#include "server/MailOperations.h"

#include <ctime>

#include "server/Crypto.h"
#include "server/ServiceMessages.h"
#include "server/TextRules.h"

namespace server {

namespace {

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// Bare LF or CR line ends become CR LF, as mail wants them.
std::string MailLines(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (text[i] == '\n') {
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string MailDate(int64_t now) {
  std::time_t t = static_cast<std::time_t>(now);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char buffer[64];
  std::strftime(buffer, sizeof buffer, "%a, %d %b %Y %H:%M:%S +0000", &tm);
  return buffer;
}

}  // namespace

int MailOperations::ReadTarget(OperationContext& ctx, int64_t& category, int64_t& entry) {
  pugi::xml_node rq = ctx.Payload();
  if (!SoapRequest::Number(rq, "CI", category) || !SoapRequest::Number(rq, "ID", entry)) return kInvalidRequest;
  if (entry != 0) {
    auto found = ctx.content.FindEntry(entry);
    if (!found || found->blog != ctx.blog.id || found->deleted) return kPictureMissing;
  }
  return kOk;
}

std::string MailOperations::Link(OperationContext& ctx, int64_t category, int64_t entry) {
  if (entry != 0) return ctx.urls.Preview(ctx.blog.url, entry);
  auto found = ctx.content.FindCategory(category);
  if (category != 0 && found && found->blog == ctx.blog.id && !found->deleted) {
    return ctx.urls.Category(ctx.blog.url, category);
  }
  return ctx.urls.Blog(ctx.blog.url);
}

std::string MailOperations::MailText(OperationContext& ctx, int64_t id, const std::string& recipients,
                                     const std::string& message, const std::string& link) {
  std::string sender = DisplayName(ctx.user.firstName, ctx.user.lastName, ctx.user.email);
  std::string mail;
  mail += "From: " + ctx.user.email + "\r\n";
  mail += "To: " + recipients + "\r\n";
  mail += "Subject: =?UTF-8?B?" + Crypto::Base64Encode("A photo from " + sender) + "?=\r\n";
  mail += "Date: " + MailDate(ctx.now) + "\r\n";
  mail += "Message-ID: <outbox-" + std::to_string(id) + "@" + ctx.urls.Host() + ">\r\n";
  mail += "MIME-Version: 1.0\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: 8bit\r\n\r\n";
  if (!message.empty()) mail += MailLines(message) + "\r\n\r\n";
  mail += link + "\r\n";
  return mail;
}

int MailOperations::PhotoEmail(OperationContext& ctx, AnswerWriter&) {
  OutboxStore::Mail mail;
  mail.user = ctx.user.id;
  mail.blog = ctx.blog.id;
  if (int code = ReadTarget(ctx, mail.category, mail.entry); code != kOk) return code;
  pugi::xml_node rq = ctx.Payload();
  size_t count = 0;
  for (pugi::xml_node rp = rq.child("RS").child("RP"); rp; rp = rp.next_sibling("RP")) {
    std::string address = Trimmed(rp.text().get());
    if (!TextRules::IsEmail(address) || ++count > kMaxRecipients) return kInvalidRecipient;
    if (!mail.recipients.empty()) mail.recipients += ", ";
    mail.recipients += address;
  }
  if (count == 0) return kInvalidRecipient;
  mail.message = SoapRequest::Text(rq, "MG");
  if (int code = TextRules::Check(mail.message, TextRules::kComment); code != kOk) return code;
  int64_t id = ctx.outbox.AddMail(mail, ctx.now);
  if (id == 0) return kStoreFailure;
  ctx.filesToWrite.emplace_back(ctx.config.dataDir / "outbox" / (std::to_string(id) + ".eml"),
                                MailText(ctx, id, mail.recipients, mail.message, Link(ctx, mail.category, mail.entry)));
  return kOk;
}

int MailOperations::RemoteBlog(OperationContext& ctx, AnswerWriter&) {
  OutboxStore::RemotePost post;
  post.user = ctx.user.id;
  post.blog = ctx.blog.id;
  if (int code = ReadTarget(ctx, post.category, post.entry); code != kOk) return code;
  pugi::xml_node rq = ctx.Payload();
  post.remoteBlog = SoapRequest::Text(rq, "RB");
  post.title = SoapRequest::Text(rq, "TI");
  post.caption = SoapRequest::Text(rq, "CP");
  if (!ctx.users.HasRemoteBlog(ctx.user.id, post.remoteBlog)) return kRemoteBlogFailed;
  if (int code = TextRules::Check(post.title, TextRules::kTitle); code != kOk) return code;
  if (int code = TextRules::Check(post.caption, TextRules::kCaption); code != kOk) return code;
  return ctx.outbox.AddRemotePost(post, ctx.now) != 0 ? kOk : kStoreFailure;
}

}  // namespace server
