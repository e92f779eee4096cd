#include "cli/SyncCommands.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>

#include "cli/CliSession.h"
#include "model/CWinBlogChannels.h"
#include "model/CWinBlogStorage.h"
#include "platform/ErrorCodes.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/TextConversion.h"
#include "service/AccountNetwork.h"
#include "service/BlogNetwork.h"
#include "service/SyncRunner.h"
#include "service/VersionCheck.h"

namespace cli {

namespace {

struct SyncArgs {
  std::string blog;
  std::string viewPassword;
  CLI::Option* viewPasswordOpt = nullptr;
};

int Sync(CliContext& ctx, const SyncArgs& args) {
  CliSession session(ctx);
  if (!session.Start() || !session.RequireLogin()) return CliContext::kFailure;
  if (args.viewPasswordOpt->count() > 0) session.Ui().viewPassword = args.viewPassword;
  model::CWinBlogUser& user = session.User();
  // A login that the service has not confirmed yet (no user id) is checked first,
  // as after new credentials: the whole account is synchronised.
  if (args.blog.empty() || user.GetUserId() == 0) {
    const uint32_t code =
        session.WithNetwork([&] { return service::AccountNetwork::SyncAll(user, &session.Progress()); });
    return session.ExitStatus(code);
  }
  model::CWinBlogStorage* blog = session.FindBlog(args.blog);
  if (blog == nullptr) return CliContext::kFailure;
  const uint32_t code = service::SyncRunner::RunSync(user, *blog, &session.Progress());
  session.Progress().Finish();
  return session.ExitStatus(code);
}

int CheckUpdates(CliContext& ctx) {
  CliSession session(ctx);
  if (!session.Start()) return CliContext::kFailure;
  session.Ui().downloadPage = service::VersionCheck::DownloadAddress();
  // The check needs a database only for its preference hooks; any will do.
  model::CWinBlogUser& user = session.User();
  std::unique_ptr<model::CWinBlogStorage> scratch;
  model::CWinBlogStorage* blog = user.Blogs().Count() > 0 ? user.Blogs().At(0) : nullptr;
  if (blog == nullptr) {
    scratch = std::make_unique<model::CWinBlogStorage>();
    blog = scratch.get();
  }
  bool newer = false;
  uint32_t checked = 0;
  const uint32_t code = session.WithNetwork([&] {
    service::BlogNetwork::CheckForUpdates(*blog, &session.Progress(), newer, checked);
    return checked;
  });
  if (code == 0 && !newer) {
    session.Ui().ShowMessage(platform::LoadString(platform::strings::kLatestVersion), model::MessageIcon::Information);
  } else if (code == platform::kErrGenFailure) {
    std::cerr << "tessary-cli: the version file could not be read\n";
  }
  return session.ExitStatus(code);
}

int Channels(CliContext& ctx) {
  CliSession session(ctx);
  if (!session.Start()) return CliContext::kFailure;
  std::string text;
  const uint32_t code =
      session.WithNetwork([&] { return service::BlogNetwork::GetChannels(&session.Progress(), text); });
  if (code != 0) return session.ExitStatus(code);
  model::CWinBlogChannels channels;
  channels.Parse(text);
  channels.SortByLine();
  nlohmann::json list = nlohmann::json::array();
  for (size_t i = 0; i < channels.Count(); ++i) {
    const std::string name = platform::Utf16ToUtf8(channels.At(i).blogName);
    const std::string line = platform::Utf16ToUtf8(channels.At(i).line);
    if (ctx.json) {
      list.push_back({{"blog", name}, {"line", line}});
    } else {
      std::cout << line << '\n';
    }
  }
  if (ctx.json) std::cout << list.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  return CliContext::kOk;
}

}  // namespace

void SyncCommands::Register(CLI::App& app, CliContext& ctx) {
  auto sync = std::make_shared<SyncArgs>();
  CLI::App* syncCmd = app.add_subcommand("sync", "Synchronise one blog, or the account and every blog");
  syncCmd->add_option("blog", sync->blog, "Blog URL name (none: every blog)");
  sync->viewPasswordOpt =
      syncCmd->add_option("--view-password", sync->viewPassword, "View password of a password-protected blog");
  syncCmd->callback([&ctx, sync] { ctx.run = [&ctx, sync] { return Sync(ctx, *sync); }; });

  CLI::App* updates = app.add_subcommand("check-updates", "Ask the service whether a newer version exists");
  updates->callback([&ctx] {
    ctx.run = [&ctx] { return CheckUpdates(ctx); };
    ctx.changesFiles = false;
  });

  CLI::App* channels = app.add_subcommand("channels", "List the recommended blogs");
  channels->callback([&ctx] {
    ctx.run = [&ctx] { return Channels(ctx); };
    ctx.changesFiles = false;
  });
}

}  // namespace cli
