#include "cli/SubscriptionCommands.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/CliSession.h"
#include "model/AccountRules.h"
#include "model/BlogPrefs.h"
#include "model/BlogUrlRules.h"
#include "model/CWinBlogStorage.h"
#include "platform/ErrorCodes.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/TextConversion.h"
#include "service/BlogNetwork.h"
#include "service/ServiceErrors.h"

namespace cli {

namespace {

// The sync settings a command line may change; unset ones stay.
struct SyncSettings {
  std::optional<uint16_t> upload;
  std::optional<uint16_t> download;
  std::optional<uint16_t> limit;
  bool noLimit = false;
  std::optional<bool> deleteAfterUpload;
};

// Text cut to a field's length in characters, as the screen's field takes it.
std::string Limit(const std::string& text, size_t characters) {
  const std::u16string wide = platform::Utf8ToUtf16(text);
  return wide.size() <= characters ? text : platform::Utf16ToUtf8(std::u16string_view(wide).substr(0, characters));
}

struct SyncOptions {
  std::string upload;
  std::string download;
  uint16_t limit = 0;
  bool noLimit = false;
  std::string deleteAfterUpload;  // "on" / "off"
  bool deleteAfterUploadFlag = false;
};

// Reads the size and limit options; false (usage) when one is not understood.
bool ReadSyncOptions(const SyncOptions& in, bool limitGiven, SyncSettings& out) {
  if (!in.upload.empty() && !(out.upload = ParseUploadSize(in.upload))) {
    std::cerr << "tessary-cli: unknown upload size \"" << in.upload << "\"\n";
    return false;
  }
  if (!in.download.empty() && !(out.download = ParseDownloadSize(in.download))) {
    std::cerr << "tessary-cli: unknown download size \"" << in.download << "\"\n";
    return false;
  }
  out.noLimit = in.noLimit;
  if (limitGiven) out.limit = in.limit;
  if (in.deleteAfterUploadFlag) out.deleteAfterUpload = true;
  if (!in.deleteAfterUpload.empty()) {
    if (in.deleteAfterUpload != "on" && in.deleteAfterUpload != "off") {
      std::cerr << "tessary-cli: --delete-after-upload takes on or off\n";
      return false;
    }
    out.deleteAfterUpload = in.deleteAfterUpload == "on";
  }
  return true;
}

// The blog's Blog Prefs with the settings given on the command line.
model::BlogPrefs WithSettings(model::BlogPrefs prefs, const SyncSettings& settings) {
  if (settings.upload) prefs.uploadSize = *settings.upload;
  if (settings.download) prefs.downloadSize = *settings.download;
  if (settings.noLimit) prefs.limitEntries = false;
  if (settings.limit) {
    prefs.limitEntries = true;
    prefs.entryLimit = *settings.limit;
  }
  if (settings.deleteAfterUpload) prefs.deleteAfterUpload = *settings.deleteAfterUpload;
  return prefs;
}

struct SubscribeArgs {
  std::string url;
  SyncOptions options;
  CLI::Option* limit = nullptr;
  std::string viewPassword;
  CLI::Option* viewPasswordOpt = nullptr;
};

int Subscribe(CliContext& ctx, const SubscribeArgs& args) {
  SyncSettings settings;
  if (!ReadSyncOptions(args.options, args.limit->count() > 0, settings)) return CliContext::kUsage;
  CliSession session(ctx);
  if (!session.Start() || !session.RequireLogin()) return CliContext::kFailure;
  if (args.viewPasswordOpt->count() > 0) session.Ui().viewPassword = args.viewPassword;
  model::CWinBlogUser& user = session.User();
  model::UserInterface& ui = session.Ui();
  const std::string url = Limit(args.url, model::AccountRules::kMaxBlogUrl);
  if (const uint32_t refusal = model::BlogUrlRules::SubscribeRefusal(user, url); refusal != 0) {
    ui.ShowMessage(platform::LoadString(refusal), model::MessageIcon::Exclamation);
    return CliContext::kFailure;
  }
  std::unique_ptr<model::CWinBlogStorage> blog = user.MakeBlog(url);
  if (!blog) {
    ui.ShowMessage(platform::LoadString(platform::strings::kNoMemory), model::MessageIcon::Error);
    return CliContext::kFailure;
  }
  blog->SetAccount(&user);
  WithSettings(model::BlogPrefs::Of(blog->Info()), settings).StoreSyncSettings(*blog->GetBlogInfo());

  session.Progress().SetLine(0, url);
  const uint32_t code = session.WithNetwork(
      [&] { return service::BlogNetwork::SyncNewSubscription(user, *blog, &session.Progress()); });
  // Only a failure nobody had reported undoes the subscription; after any other
  // the blog stays and is synchronised later.
  if (code != 0 && code != service::kResultAlreadyReported && code != platform::kErrCancelled) {
    return CliContext::kFailure;
  }
  if (blog->Save() != 0) return CliContext::kFailure;
  user.Blogs().InsertBlog(std::move(blog));
  return session.ExitStatus(code);
}

struct UnsubscribeArgs {
  std::string url;
  bool deletePhotos = false;
};

int Unsubscribe(CliContext& ctx, const UnsubscribeArgs& args) {
  CliSession session(ctx);
  if (!session.Start()) return CliContext::kFailure;
  model::CWinBlogStorage* blog = session.FindBlog(args.url);
  if (blog == nullptr) return CliContext::kFailure;
  if (!session.Ui().AskYesNo(platform::LoadString(platform::strings::kConfirmDeleteBlog))) return CliContext::kFailure;
  const uint32_t code = session.User().Blogs().RemoveBlog(blog, args.deletePhotos);
  if (code != 0) {
    std::cerr << "tessary-cli: the blog's file could not be deleted (error " << code << ")\n";
    return CliContext::kFailure;
  }
  return CliContext::kOk;
}

struct BlogPrefsArgs {
  std::string url;
  SyncOptions options;
  CLI::Option* limit = nullptr;
  std::string title;
  std::string subtitle;
  std::string visible;
  CLI::Option* titleOpt = nullptr;
  CLI::Option* subtitleOpt = nullptr;
};

int BlogPrefs(CliContext& ctx, const BlogPrefsArgs& args) {
  SyncSettings sync;
  if (!ReadSyncOptions(args.options, args.limit->count() > 0, sync)) return CliContext::kUsage;
  if (!args.visible.empty() && args.visible != "on" && args.visible != "off") {
    std::cerr << "tessary-cli: --visible takes on or off\n";
    return CliContext::kUsage;
  }
  CliSession session(ctx);
  if (!session.Start()) return CliContext::kFailure;
  model::CWinBlogStorage* blog = session.FindBlog(args.url);
  if (blog == nullptr) return CliContext::kFailure;
  model::BlogPrefs prefs = WithSettings(model::BlogPrefs::Of(blog->Info()), sync);
  if (args.titleOpt->count() > 0) prefs.title = Limit(args.title, model::BlogPrefs::kMaxTitle);
  if (args.subtitleOpt->count() > 0) prefs.subtitle = Limit(args.subtitle, model::BlogPrefs::kMaxSubtitle);
  if (!args.visible.empty()) prefs.visible = args.visible == "on";
  prefs.Apply(*blog, true);
  const model::CBlogInfo& info = blog->Info();
  if (ctx.json) {
    const nlohmann::ordered_json settings = {
        {"urlName", info.urlName},         {"title", info.title},
        {"subtitle", info.subtitle},       {"visible", info.hidden == 0},
        {"upload", info.uploadSize},       {"download", DownloadSizeName(info.downloadSize)},
        {"limitEntries", info.limitEntries}, {"entryLimit", info.entryLimit},
        {"deleteAfterUpload", info.deleteAfterUpload}, {"modified", info.modified},
        {"lastSync", blog->GetLastSync()}};
    std::cout << settings.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  }
  return blog->Save() == 0 ? CliContext::kOk : CliContext::kFailure;
}

void AddSyncOptions(CLI::App* cmd, SyncOptions& options, CLI::Option*& limit, bool subscribe) {
  if (!subscribe) cmd->add_option("--upload", options.upload, "Upload size: 320x240, 480x360, 640x480, Full size");
  cmd->add_option("--download", options.download,
                  "Download size: Nothing, Thumbnails, 176x132, 240x180, 320x240, 480x360, 640x480, Full size");
  limit = cmd->add_option("--limit", options.limit, "Keep only the most recent N entries");
  cmd->add_flag("--no-limit", options.noLimit, "Keep every entry")->excludes(limit);
  if (subscribe) {
    cmd->add_flag("--delete-after-upload", options.deleteAfterUploadFlag, "Delete photos on the device after upload");
  } else {
    cmd->add_option("--delete-after-upload", options.deleteAfterUpload, "on or off");
  }
}

}  // namespace

void SubscriptionCommands::Register(CLI::App& app, CliContext& ctx) {
  auto subscribe = std::make_shared<SubscribeArgs>();
  CLI::App* subscribeCmd = app.add_subcommand("subscribe", "Subscribe to a blog and download it");
  subscribeCmd->add_option("urlname", subscribe->url, "Blog URL name")->required();
  AddSyncOptions(subscribeCmd, subscribe->options, subscribe->limit, true);
  subscribe->viewPasswordOpt = subscribeCmd->add_option("--view-password", subscribe->viewPassword,
                                                        "View password of a password-protected blog");
  subscribeCmd->callback([&ctx, subscribe] { ctx.run = [&ctx, subscribe] { return Subscribe(ctx, *subscribe); }; });

  auto unsubscribe = std::make_shared<UnsubscribeArgs>();
  CLI::App* unsubscribeCmd = app.add_subcommand("unsubscribe", "Remove a blog from the device (it stays on the web)");
  unsubscribeCmd->add_option("urlname", unsubscribe->url, "Blog URL name")->required();
  unsubscribeCmd->add_flag("--delete-photos", unsubscribe->deletePhotos, "Delete the blog's photos on the device");
  unsubscribeCmd->callback(
      [&ctx, unsubscribe] { ctx.run = [&ctx, unsubscribe] { return Unsubscribe(ctx, *unsubscribe); }; });

  auto prefs = std::make_shared<BlogPrefsArgs>();
  CLI::App* prefsCmd = app.add_subcommand("blog-prefs", "Change a blog's sync and owner settings (its Blog URL stays)");
  prefsCmd->add_option("blog", prefs->url, "Blog URL name")->required();
  AddSyncOptions(prefsCmd, prefs->options, prefs->limit, false);
  prefs->titleOpt = prefsCmd->add_option("--title", prefs->title, "Title");
  prefs->subtitleOpt = prefsCmd->add_option("--subtitle", prefs->subtitle, "Subtitle");
  prefsCmd->add_option("--visible", prefs->visible, "Show on Tessary: on or off");
  prefsCmd->callback([&ctx, prefs] { ctx.run = [&ctx, prefs] { return BlogPrefs(ctx, *prefs); }; });
}

}  // namespace cli
