#include "cli/SubscriptionCommands.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>

#include "cli/CliSession.h"
#include "model/CWinBlogStorage.h"
#include "model/ModelConstants.h"
#include "net/Http.h"
#include "platform/ErrorCodes.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "service/MorvaneBlogService.h"
#include "service/ServiceClient.h"
#include "service/ServiceErrors.h"
#include "service/SyncProgress.h"
#include "service/SyncRunner.h"

namespace cli {

namespace {

constexpr size_t kMaxBlogUrl = 31;

using SyncSettings = SubscriptionCommands::SyncSettings;
using OwnerSettings = SubscriptionCommands::OwnerSettings;

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

void ApplySyncSettings(model::CBlogInfo& info, const SyncSettings& settings) {
  if (settings.upload) info.uploadSize = *settings.upload;
  if (settings.download) info.downloadSize = *settings.download;
  if (settings.noLimit) info.limitEntries = false;
  if (settings.limit) {
    info.limitEntries = true;
    info.entryLimit = *settings.limit;
  }
  if (settings.deleteAfterUpload) info.deleteAfterUpload = *settings.deleteAfterUpload;
}

struct SubscribeArgs {
  std::string url;
  SyncOptions options;
  CLI::Option* limit = nullptr;
};

int Subscribe(CliContext& ctx, const SubscribeArgs& args) {
  SyncSettings settings;
  if (!ReadSyncOptions(args.options, args.limit->count() > 0, settings)) return CliContext::kUsage;
  CliSession session(ctx);
  if (!session.Start() || !session.RequireLogin()) return CliContext::kFailure;
  model::CWinBlogUser& user = session.User();
  model::UserInterface& ui = session.Ui();
  std::string url = args.url;
  if (url.size() > kMaxBlogUrl) url.resize(kMaxBlogUrl);
  if (url.empty()) {
    ui.ShowMessage(platform::LoadString(platform::strings::kEnterBlogUrl), model::MessageIcon::Exclamation);
    return CliContext::kFailure;
  }
  if (user.FindBlogIndex(url) >= 0) {
    ui.ShowMessage(platform::LoadString(platform::strings::kAlreadySubscribed), model::MessageIcon::Exclamation);
    return CliContext::kFailure;
  }
  std::unique_ptr<model::CWinBlogStorage> blog = user.MakeBlog(url);
  if (!blog) {
    ui.ShowMessage(platform::LoadString(platform::strings::kNoMemory), model::MessageIcon::Error);
    return CliContext::kFailure;
  }
  blog->SetAccount(&user);
  ApplySyncSettings(*blog->GetBlogInfo(), settings);

  session.Progress().SetLine(0, url);
  const uint32_t code = session.WithNetwork([&]() -> uint32_t {
    if (!service::ServiceClient::Open()) return 0;
    service::MorvaneBlogService& client = service::ServiceClient::Service();
    service::SyncProgress context(&session.Progress());
    context.SetBlog(blog.get());
    blog->ComputePhotoFolder();
    service::ServiceClient::HandOver(client, &user, *blog);
    client.SetSyncTimestamp(blog->GetLastSync());
    uint32_t result = client.Synchronize(&service::SyncProgress::ProgressCallback, &context);
    blog->SetLastSync(client.GetSyncTimestamp());
    client.SetStorage(nullptr);
    service::ServiceClient::Close();
    if (result == platform::kErrCancelled) {
      ui.ShowMessage(platform::LoadString(platform::strings::kSyncCancelled), model::MessageIcon::Information);
      result = service::kResultAlreadyReported;
    }
    return result;
  });
  if (code != 0 && code != service::kResultAlreadyReported && code != platform::kErrCancelled) {
    // A failure nobody has reported: the subscription is not kept.
    ui.ShowMessage(service::ServiceErrors::GetErrorText(code), model::MessageIcon::Exclamation);
    return CliContext::kFailure;
  }
  if (blog->Save() != 0) return CliContext::kFailure;
  user.Blogs().InsertBlog(std::move(blog));
  return CliProgress::Interrupted() ? CliContext::kCancelled : CliContext::kOk;
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
  std::string newUrl;
  std::string title;
  std::string subtitle;
  std::string visible;
  CLI::Option* newUrlOpt = nullptr;
  CLI::Option* titleOpt = nullptr;
  CLI::Option* subtitleOpt = nullptr;
};

int BlogPrefs(CliContext& ctx, const BlogPrefsArgs& args) {
  SyncSettings sync;
  if (!ReadSyncOptions(args.options, args.limit->count() > 0, sync)) return CliContext::kUsage;
  OwnerSettings owner;
  if (args.newUrlOpt->count() > 0) owner.urlName = args.newUrl.substr(0, 31);
  if (args.titleOpt->count() > 0) owner.title = args.title.substr(0, 47);
  if (args.subtitleOpt->count() > 0) owner.subtitle = args.subtitle.substr(0, 63);
  if (!args.visible.empty()) {
    if (args.visible != "on" && args.visible != "off") {
      std::cerr << "tessary-cli: --visible takes on or off\n";
      return CliContext::kUsage;
    }
    owner.visible = args.visible == "on";
  }
  CliSession session(ctx);
  if (!session.Start()) return CliContext::kFailure;
  model::CWinBlogStorage* blog = session.FindBlog(args.url);
  if (blog == nullptr) return CliContext::kFailure;
  SubscriptionCommands::ApplyBlogPrefs(*blog, sync, owner);
  const model::CBlogInfo& info = blog->Info();
  if (ctx.json) {
    const nlohmann::ordered_json settings = {
        {"urlName", info.urlName},         {"title", info.title},
        {"subtitle", info.subtitle},       {"visible", info.hidden == 0},
        {"upload", info.uploadSize},       {"download", DownloadSizeName(info.downloadSize)},
        {"limitEntries", info.limitEntries}, {"entryLimit", info.entryLimit},
        {"deleteAfterUpload", info.deleteAfterUpload}, {"modified", info.modified}};
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

void SubscriptionCommands::ApplyBlogPrefs(model::CWinBlogStorage& blog, const SyncSettings& sync,
                                          const OwnerSettings& owner) {
  model::CBlogInfo& info = *blog.GetBlogInfo();
  bool changed = false;
  auto store = [&changed](std::string& field, const std::optional<std::string>& value) {
    if (value && *value != field) {
      field = *value;
      changed = true;
    }
  };
  store(info.urlName, owner.urlName);
  store(info.title, owner.title);
  store(info.subtitle, owner.subtitle);
  if (owner.visible && (info.hidden == 0) != *owner.visible) {
    info.hidden = *owner.visible ? 0 : 1;
    changed = true;
  }
  const uint16_t newLimit = sync.limit ? *sync.limit : info.entryLimit;
  if (info.limitEntries && info.entryLimit < newLimit) blog.SetLastSync(0);
  if (sync.download && *sync.download == model::kSizeThumbnails && info.downloadSize > model::kSizeThumbnails &&
      model::UserInterface::Current().AskYesNo(platform::LoadString(platform::strings::kAskThumbnailsOnly))) {
    blog.PurgeAllPhotos();
  }
  ApplySyncSettings(info, sync);
  if (changed) info.SetModified(true);
}

void SubscriptionCommands::Register(CLI::App& app, CliContext& ctx) {
  auto subscribe = std::make_shared<SubscribeArgs>();
  CLI::App* subscribeCmd = app.add_subcommand("subscribe", "Subscribe to a blog and download it");
  subscribeCmd->add_option("urlname", subscribe->url, "Blog URL name")->required();
  AddSyncOptions(subscribeCmd, subscribe->options, subscribe->limit, true);
  subscribeCmd->callback([&ctx, subscribe] { ctx.run = [&ctx, subscribe] { return Subscribe(ctx, *subscribe); }; });

  auto unsubscribe = std::make_shared<UnsubscribeArgs>();
  CLI::App* unsubscribeCmd = app.add_subcommand("unsubscribe", "Remove a blog from the device (it stays on the web)");
  unsubscribeCmd->add_option("urlname", unsubscribe->url, "Blog URL name")->required();
  unsubscribeCmd->add_flag("--delete-photos", unsubscribe->deletePhotos, "Delete the blog's photos on the device");
  unsubscribeCmd->callback(
      [&ctx, unsubscribe] { ctx.run = [&ctx, unsubscribe] { return Unsubscribe(ctx, *unsubscribe); }; });

  auto prefs = std::make_shared<BlogPrefsArgs>();
  CLI::App* prefsCmd = app.add_subcommand("blog-prefs", "Change a blog's sync and owner settings");
  prefsCmd->add_option("blog", prefs->url, "Blog URL name")->required();
  AddSyncOptions(prefsCmd, prefs->options, prefs->limit, false);
  prefs->newUrlOpt = prefsCmd->add_option("--url", prefs->newUrl, "New Blog URL name");
  prefs->titleOpt = prefsCmd->add_option("--title", prefs->title, "Title");
  prefs->subtitleOpt = prefsCmd->add_option("--subtitle", prefs->subtitle, "Subtitle");
  prefsCmd->add_option("--visible", prefs->visible, "Show on Tessary: on or off");
  prefsCmd->callback([&ctx, prefs] { ctx.run = [&ctx, prefs] { return BlogPrefs(ctx, *prefs); }; });
}

}  // namespace cli
