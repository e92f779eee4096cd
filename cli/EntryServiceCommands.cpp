#include "cli/EntryServiceCommands.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#include "cli/CliSession.h"
#include "cli/ModelJson.h"
#include "model/CWinBlogComment.h"
#include "model/CommentRules.h"
#include "model/CommentText.h"
#include "model/CWinBlogStorage.h"
#include "model/ModelConstants.h"
#include "model/ShareSubject.h"
#include "platform/ContactBook.h"
#include "platform/DeviceFileSystem.h"
#include "platform/ErrorCodes.h"
#include "platform/Preferences.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/TextConversion.h"
#include "platform/TimeValue.h"
#include "service/BlogNetwork.h"
#include "service/ServiceErrors.h"

namespace cli {

namespace {

constexpr size_t kMaxRemoteTitle = 49;
constexpr size_t kMaxRemotePost = 7999;

void Refuse(uint32_t id) {
  model::UserInterface::Current().ShowMessage(platform::LoadString(id), model::MessageIcon::Exclamation);
}

std::string Cut(const std::string& text, size_t limit) {
  const std::u16string wide = platform::Utf8ToUtf16(text);
  return wide.size() <= limit ? text : platform::Utf16ToUtf8(std::u16string_view(wide).substr(0, limit));
}

// An entry by its service id, or else by its exact title.
model::CWinBlogEntry* FindEntry(model::CWinBlogStorage& blog, const std::string& key) {
  char* end = nullptr;
  const unsigned long id = std::strtoul(key.c_str(), &end, 10);
  if (!key.empty() && *end == '\0' && id != 0) {
    if (model::CWinBlogEntry* entry = blog.FindEntry(static_cast<uint32_t>(id))) return entry;
  }
  for (const auto& entry : blog.Entries()) {
    if (entry->GetTitle() == key && !entry->IsRemoved()) return entry.get();
  }
  std::cerr << "tessary-cli: no entry \"" << key << "\" in blog \"" << blog.Info().urlName << "\"\n";
  return nullptr;
}

struct Target {
  std::string blog;
  std::string entry;
};

// The session, the blog and (when named) the entry of a command.
struct Opened {
  model::CWinBlogStorage* blog = nullptr;
  model::CWinBlogEntry* entry = nullptr;
};

bool Open(CliSession& session, const Target& target, bool needEntry, Opened& opened) {
  if (!session.Start()) return false;
  opened.blog = session.FindBlog(target.blog);
  if (opened.blog == nullptr) return false;
  if (target.entry.empty()) return !needEntry;
  opened.entry = FindEntry(*opened.blog, target.entry);
  return opened.entry != nullptr;
}

int Comments(CliContext& ctx, const Target& target) {
  CliSession session(ctx);
  Opened opened;
  if (!Open(session, target, true, opened)) return CliContext::kFailure;
  if (!opened.entry->HasId()) {
    Refuse(platform::strings::kSyncBeforeComment);
    return CliContext::kFailure;
  }
  opened.blog->SetCommentEntry(opened.entry->GetId());
  const uint32_t now = platform::Now();
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (size_t i = 0; i < opened.blog->GetCommentCount(); ++i) {
    const model::CWinBlogComment& comment = *opened.blog->GetCommentAt(i);
    if (ctx.json) {
      nlohmann::ordered_json item = ModelJson::Comment(comment);
      item["ago"] = model::CommentText::RelativeTime(comment.GetDate(), now);
      list.push_back(std::move(item));
    } else {
      // The screen's full form on one line: the header, then the text.
      const std::string full = model::CommentText::Full(comment, now);
      const size_t end = full.find("\r\n");
      std::cout << comment.GetId() << '\t' << full.substr(0, end) << '\t' << model::CommentText::Short(comment) << '\n';
    }
  }
  if (ctx.json) std::cout << list.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  if (opened.entry->SetNewComments(false) && opened.blog->Save() != 0) return CliContext::kFailure;
  return CliContext::kOk;
}

int Comment(CliContext& ctx, const Target& target, const std::string& text) {
  CliSession session(ctx);
  Opened opened;
  if (!Open(session, target, true, opened) || !session.RequireLogin()) return CliContext::kFailure;
  if (!opened.entry->HasId()) {
    Refuse(platform::strings::kSyncBeforeComment);
    return CliContext::kFailure;
  }
  model::CWinBlogComment* added = model::CommentRules::Add(*opened.blog, opened.entry->GetId(), text);
  const uint32_t code = session.WithNetwork([&] {
    return service::BlogNetwork::PostComment(session.User(), *opened.blog, &session.Progress(), *added);
  });
  // The comment stays either way; a failed one goes up with the next sync.
  if (opened.blog->Save() != 0) return CliContext::kFailure;
  return session.ExitStatus(code);
}

int Uncomment(CliContext& ctx, const Target& target, uint32_t commentId) {
  CliSession session(ctx);
  Opened opened;
  if (!Open(session, target, true, opened)) return CliContext::kFailure;
  model::CWinBlogComment* comment = opened.blog->FindComment(commentId);
  if (comment != nullptr && comment->GetEntryId() != opened.entry->GetId()) comment = nullptr;
  if (!model::CommentRules::Delete(*opened.blog, comment)) return CliContext::kFailure;
  return opened.blog->Save() == 0 ? CliContext::kOk : CliContext::kFailure;
}

int Download(CliContext& ctx, const Target& target, const std::string& sizeText) {
  const std::optional<uint16_t> size = ParseDownloadSize(sizeText);
  if (!size || !platform::IsDownloadPhotoSize(*size)) {
    std::cerr << "tessary-cli: --size takes one of 176x132, 240x180, 320x240, 480x360, 640x480, Full size\n";
    return CliContext::kUsage;
  }
  CliSession session(ctx);
  Opened opened;
  if (!Open(session, target, true, opened)) return CliContext::kFailure;
  platform::WriteDownloadPhotoSize(*size);
  const model::CWinBlogEntry& entry = *opened.entry;
  if (entry.GetPhotoSize() == *size && !entry.photoPath.empty() &&
      platform::DeviceFileSystem::Current().Exists(entry.photoPath)) {
    session.Ui().ShowMessage(platform::LoadString(platform::strings::kAlreadyHaveSize), model::MessageIcon::Information);
    return CliContext::kOk;
  }
  uint32_t code = session.WithNetwork([&] {
    return service::BlogNetwork::DownloadPhoto(*opened.blog, &session.Progress(), *opened.entry,
                                               static_cast<uint8_t>(*size));
  });
  if (code == 0) {
    if (opened.blog->Save() != 0) return CliContext::kFailure;
    code = opened.blog->PhotoDeletionResult();
  }
  service::ServiceErrors::ShowUnreported(code);
  return session.ExitStatus(code);
}

// What a mail or a remote post is about, or false after the refusal for
// something the service does not know yet.
bool Subject(const Opened& opened, model::ShareSubject& subject) {
  const uint32_t refusal = model::ShareSubject::Of(*opened.blog, opened.entry, subject);
  if (refusal != 0) Refuse(refusal);
  return refusal == 0;
}

// The recipients of `--to` values: addresses (separated by commas or blanks) as
// they are, names of the device's contacts as their first address.
std::optional<std::string> Recipients(const std::vector<std::string>& values) {
  std::vector<platform::Contact> contacts;
  bool read = false;
  std::string text;
  for (const std::string& value : values) {
    std::string add = value;
    if (value.find('@') == std::string::npos && value.find_first_not_of(" \t,") != std::string::npos) {
      if (!read) {
        platform::ContactBook::Read(platform::ContactBook::DefaultPath(), contacts);
        read = true;
      }
      const platform::Contact* contact = platform::ContactBook::Find(contacts, value);
      if (contact == nullptr) {
        std::cerr << "tessary-cli: \"" << value << "\" is neither an address nor a contact with one (see `tessary-cli contacts`)\n";
        return std::nullopt;
      }
      add = contact->emails.front();
    }
    if (add.find_first_not_of(" \t,") == std::string::npos) continue;
    if (!text.empty()) text += ", ";
    text += add;
  }
  return text;
}

struct MailArgs {
  Target target;
  std::vector<std::string> to;
  std::string message;
};

int Mail(CliContext& ctx, const MailArgs& args) {
  CliSession session(ctx);
  Opened opened;
  if (!Open(session, args.target, false, opened) || !session.RequireLogin()) return CliContext::kFailure;
  model::ShareSubject subject;
  if (!Subject(opened, subject)) return CliContext::kFailure;
  const std::optional<std::string> recipients = Recipients(args.to);
  if (!recipients) return CliContext::kUsage;
  if (recipients->empty()) {
    Refuse(platform::strings::kNeedAddress);
    return CliContext::kFailure;
  }
  const uint32_t code = session.WithNetwork([&] {
    return service::BlogNetwork::SendPhotoEmail(session.User(), *opened.blog, &session.Progress(), subject.categoryId,
                                                subject.entryId, *recipients, args.message);
  });
  service::ServiceErrors::ShowUnreported(code);
  return session.ExitStatus(code);
}

struct RemoteArgs {
  Target target;
  std::string remote;
  std::string title;
  std::string post;
  CLI::Option* titleOpt = nullptr;
  CLI::Option* postOpt = nullptr;
};

int RemotePost(CliContext& ctx, const RemoteArgs& args) {
  CliSession session(ctx);
  Opened opened;
  if (!Open(session, args.target, false, opened) || !session.RequireLogin()) return CliContext::kFailure;
  const model::CWinBlogUser& user = session.User();
  if (user.RemoteBlogs().empty()) {
    Refuse(platform::strings::kNoRemoteBlogs);
    return CliContext::kFailure;
  }
  model::ShareSubject subject;
  if (!Subject(opened, subject)) return CliContext::kFailure;
  std::string remote = args.remote.empty() ? platform::ReadLastRemoteBlog() : args.remote;
  bool known = false;
  for (const std::u16string& name : user.RemoteBlogs()) known = known || platform::Utf16ToUtf8(name) == remote;
  if (!known) {
    if (!args.remote.empty()) {
      std::cerr << "tessary-cli: \"" << args.remote << "\" is not one of the account's remote blogs\n";
      return CliContext::kUsage;
    }
    remote = platform::Utf16ToUtf8(user.RemoteBlogs().front());
  }
  const std::string title = args.titleOpt->count() > 0 ? args.title : subject.title;
  const std::string post = args.postOpt->count() > 0 ? args.post : subject.post;
  platform::WriteLastRemoteBlog(remote);
  const uint32_t code = session.WithNetwork([&] {
    return service::BlogNetwork::PostRemoteEntry(session.User(), *opened.blog, &session.Progress(),
                                                 subject.categoryId, subject.entryId, remote,
                                                 Cut(title, kMaxRemoteTitle), Cut(post, kMaxRemotePost));
  });
  service::ServiceErrors::ShowUnreported(code);
  return session.ExitStatus(code);
}

}  // namespace

void EntryServiceCommands::Register(CLI::App& app, CliContext& ctx) {
  auto comments = std::make_shared<Target>();
  CLI::App* commentsCmd = app.add_subcommand("comments", "List the comments of a published entry");
  commentsCmd->add_option("blog", comments->blog, "Blog URL name")->required();
  commentsCmd->add_option("entry", comments->entry, "Entry id or title")->required();
  commentsCmd->callback([&ctx, comments] { ctx.run = [&ctx, comments] { return Comments(ctx, *comments); }; });

  struct CommentArgs {
    Target target;
    std::string text;
  };
  auto comment = std::make_shared<CommentArgs>();
  CLI::App* commentCmd = app.add_subcommand("comment", "Post a comment on a published entry");
  commentCmd->add_option("blog", comment->target.blog, "Blog URL name")->required();
  commentCmd->add_option("entry", comment->target.entry, "Entry id or title")->required();
  commentCmd->add_option("text", comment->text, "The comment")->required();
  commentCmd->callback(
      [&ctx, comment] { ctx.run = [&ctx, comment] { return Comment(ctx, comment->target, comment->text); }; });

  struct UncommentArgs {
    Target target;
    uint32_t id = 0;
  };
  auto uncomment = std::make_shared<UncommentArgs>();
  CLI::App* uncommentCmd = app.add_subcommand("uncomment", "Delete a comment (on the service at the next sync)");
  uncommentCmd->add_option("blog", uncomment->target.blog, "Blog URL name")->required();
  uncommentCmd->add_option("entry", uncomment->target.entry, "Entry id or title")->required();
  uncommentCmd->add_option("comment", uncomment->id, "Comment id")->required();
  uncommentCmd->callback(
      [&ctx, uncomment] { ctx.run = [&ctx, uncomment] { return Uncomment(ctx, uncomment->target, uncomment->id); }; });

  struct DownloadArgs {
    Target target;
    std::string size;
  };
  auto download = std::make_shared<DownloadArgs>();
  CLI::App* downloadCmd = app.add_subcommand("download", "Download an entry's photo in another size");
  downloadCmd->add_option("blog", download->target.blog, "Blog URL name")->required();
  downloadCmd->add_option("entry", download->target.entry, "Entry id or title")->required();
  downloadCmd->add_option("--size", download->size, "176x132, 240x180, 320x240, 480x360, 640x480, Full size")
      ->required();
  downloadCmd->callback(
      [&ctx, download] { ctx.run = [&ctx, download] { return Download(ctx, download->target, download->size); }; });

  auto mail = std::make_shared<MailArgs>();
  CLI::App* mailCmd = app.add_subcommand("mail", "Have the service mail a link to a photo or to the blog");
  mailCmd->add_option("blog", mail->target.blog, "Blog URL name")->required();
  mailCmd->add_option("entry", mail->target.entry, "Entry id or title (none: the blog)");
  mailCmd->add_option("--to", mail->to, "Addresses (separated by commas or blanks) or a contact's name; repeatable")
      ->required()
      ->allow_extra_args(false);
  mailCmd->add_option("--message", mail->message, "Message");
  mailCmd->callback([&ctx, mail] { ctx.run = [&ctx, mail] { return Mail(ctx, *mail); }; });

  auto remote = std::make_shared<RemoteArgs>();
  CLI::App* remoteCmd = app.add_subcommand("remote-post", "Post an entry or the blog to a remote blog");
  remoteCmd->add_option("blog", remote->target.blog, "Blog URL name")->required();
  remoteCmd->add_option("entry", remote->target.entry, "Entry id or title (none: the blog)");
  remoteCmd->add_option("--remote", remote->remote, "Remote blog name (default: the last one used)");
  remote->titleOpt = remoteCmd->add_option("--title", remote->title, "Title");
  remote->postOpt = remoteCmd->add_option("--post", remote->post, "Post text");
  remoteCmd->callback([&ctx, remote] { ctx.run = [&ctx, remote] { return RemotePost(ctx, *remote); }; });
}

}  // namespace cli
