#include "cli/AccountCommands.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cctype>
#include <iostream>
#include <memory>

#include "cli/CliSession.h"
#include "model/AccountRules.h"
#include "model/BlogUrlRules.h"
#include "model/CWinBlogStorage.h"
#include "platform/ErrorCodes.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/TextConversion.h"
#include "service/AccountNetwork.h"
#include "service/ServiceClient.h"
#include "service/ServiceErrors.h"

namespace cli {

namespace {

void Show(uint32_t id) { model::UserInterface::Current().ShowMessage(platform::LoadString(id), model::MessageIcon::Exclamation); }

// Fields refuse input beyond their length: longer text is cut the same way.
std::string Limit(std::string text, size_t limit) {
  const std::u16string wide = platform::Utf8ToUtf16(text);
  if (wide.size() <= limit) return text;
  return platform::Utf16ToUtf8(std::u16string_view(wide).substr(0, limit));
}

// Stores new login data; a changed login makes every blog's next sync a full one
// and has the next account check fetch the user id again.
void StoreLogin(model::CWinBlogUser& user, const std::string& email, const std::string& password) {
  const bool changed = user.GetEmail() != email || user.GetPassword() != password;
  user.SetEmail(email);
  user.SetPassword(password);
  user.credentialsChanged = true;
  if (!changed) return;
  user.SetUserId(0);
  user.ResetSyncTimes();
}

struct LoginArgs {
  std::string email;
  bool passwordStdin = false;
};

int Login(CliContext& ctx, const LoginArgs& args) {
  CliSession session(ctx);
  if (!session.Start()) return CliContext::kFailure;
  const std::string email = Limit(args.email, model::AccountRules::kMaxEmail);
  if (email.empty()) {
    Show(platform::strings::kBadLogin);
    return CliContext::kFailure;
  }
  const std::optional<std::string> password = ReadPassword(args.passwordStdin);
  if (!password) {
    std::cerr << "tessary-cli: no password (use --password-stdin or TESSARY_PASSWORD)\n";
    return CliContext::kUsage;
  }
  StoreLogin(session.User(), email, Limit(*password, model::AccountRules::kMaxPassword));
  return session.User().SaveUser() == 0 ? CliContext::kOk : CliContext::kFailure;
}

nlohmann::json AccountJson(const model::CWinBlogUser& user) {
  nlohmann::json remote = nlohmann::json::array();
  for (const std::u16string& name : user.RemoteBlogs()) remote.push_back(platform::Utf16ToUtf8(name));
  nlohmann::json blogs = nlohmann::json::array();
  for (const auto& blog : user.Blogs()) blogs.push_back(blog->Info().urlName);
  return {{"email", user.GetEmail()},     {"userId", user.GetUserId()},
          {"proAccount", user.GetProAccount() != 0}, {"quota", user.GetQuota()},
          {"remoteBlogs", remote},        {"blogs", blogs}};
}

int Account(CliContext& ctx, bool offline) {
  CliSession session(ctx);
  if (!session.Start() || !session.RequireLogin()) return CliContext::kFailure;
  model::CWinBlogUser& user = session.User();
  uint32_t code = 0;
  if (!offline) {
    code = session.WithNetwork([&] {
      if (!service::ServiceClient::Open()) return service::kResultAlreadyReported;
      const uint32_t result = service::AccountNetwork::CheckAccount(user, &session.Progress());
      service::ServiceClient::Close();
      return result;
    });
  }
  const nlohmann::json info = AccountJson(user);
  if (ctx.json) {
    std::cout << info.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  } else {
    std::cout << "E-Mail:       " << user.GetEmail() << '\n'
              << "User id:      " << user.GetUserId() << '\n'
              << "Account:      "
              << (user.GetProAccount() != 0 ? std::string("Pro Account, Unlimited Photos")
                                            : "Trial, " + std::to_string(user.GetQuota()) + " photos max")
              << '\n';
    for (const auto& name : info["remoteBlogs"]) std::cout << "Remote blog:  " << name.get<std::string>() << '\n';
    for (const auto& name : info["blogs"]) std::cout << "Blog:         " << name.get<std::string>() << '\n';
  }
  return session.ExitStatus(code);
}

struct CreateAccountArgs {
  std::string email;
  std::string first;
  std::string last;
  bool passwordStdin = false;
};

int CreateAccount(CliContext& ctx, const CreateAccountArgs& args) {
  CliSession session(ctx);
  if (!session.Start()) return CliContext::kFailure;
  const std::optional<std::string> typed = ReadPassword(args.passwordStdin);
  if (!typed) {
    std::cerr << "tessary-cli: no password (use --password-stdin or TESSARY_PASSWORD)\n";
    return CliContext::kUsage;
  }
  const std::string email = Limit(args.email, model::AccountRules::kMaxEmail);
  const std::string password = Limit(*typed, model::AccountRules::kMaxPassword);
  if (!model::AccountRules::IsValidEmail(email) || !model::AccountRules::IsValidNewPassword(password)) {
    Show(platform::strings::kBadLogin);
    return CliContext::kFailure;
  }
  const std::string first = Limit(args.first, model::AccountRules::kMaxName);
  const std::string last = Limit(args.last, model::AccountRules::kMaxName);
  if (first.empty() || last.empty()) {
    Show(platform::strings::kNeedNames);
    return CliContext::kFailure;
  }
  model::CWinBlogUser& user = session.User();
  const uint32_t code = session.WithNetwork([&] {
    return service::AccountNetwork::CreateAccount(user, &session.Progress(), email, password, first, last);
  });
  if (code == service::kCreateEmailUsed) {
    if (!session.Ui().AskYesNo(platform::FormatText(platform::strings::kEmailUsed, {email}))) return CliContext::kFailure;
    StoreLogin(user, email, password);
    return user.SaveUser() == 0 ? CliContext::kOk : CliContext::kFailure;
  }
  service::ServiceErrors::ShowUnreported(code);
  if (code != 0) return session.ExitStatus(code);
  user.SetUserId(0);
  user.credentialsChanged = true;
  return user.SaveUser() == 0 ? CliContext::kOk : CliContext::kFailure;
}

struct CreateBlogArgs {
  std::string url;
  std::string title;
  std::string subtitle;
};

int CreateBlog(CliContext& ctx, const CreateBlogArgs& args) {
  CliSession session(ctx);
  if (!session.Start() || !session.RequireLogin()) return CliContext::kFailure;
  const std::string url = Limit(args.url, model::AccountRules::kMaxBlogUrl);
  model::CWinBlogUser& user = session.User();
  if (const uint32_t refusal = model::BlogUrlRules::CreateRefusal(user, url); refusal != 0) {
    Show(refusal);
    return CliContext::kFailure;
  }
  std::array<std::string, 2> suggestions;
  std::unique_ptr<model::CWinBlogStorage> created;
  const uint32_t code = session.WithNetwork([&] {
    return service::AccountNetwork::CreateBlog(user, &session.Progress(), url,
                                               Limit(args.title, model::AccountRules::kMaxTitle),
                                               Limit(args.subtitle, model::AccountRules::kMaxSubtitle),
                                               suggestions, created);
  });
  if (code == service::kCreateBlogUrlUsed) {
    model::UserInterface::Current().ShowMessage(
        platform::FormatText(platform::strings::kBlogUrlUsed, {url, suggestions[0], suggestions[1]}), model::MessageIcon::Exclamation);
    return CliContext::kFailure;
  }
  service::ServiceErrors::ShowUnreported(code);
  if (code != 0 || !created) return session.ExitStatus(code);
  model::CWinBlogStorage* blog = user.Blogs().InsertBlog(std::move(created));
  user.SaveUser();
  const uint32_t saved = blog->Save();
  model::UserInterface::Current().ShowMessage(platform::LoadString(platform::strings::kBlogCreated),
                                              model::MessageIcon::Information);
  // As the account wizard does: the account check agrees the new blog with the
  // service and brings the user id that writing to it needs.
  session.WithNetwork([&] {
    if (!service::ServiceClient::Open()) return service::kResultAlreadyReported;
    const uint32_t checked = service::AccountNetwork::CheckAccount(user, &session.Progress());
    service::ServiceClient::Close();
    return checked;
  });
  return saved == 0 ? CliContext::kOk : CliContext::kFailure;
}

}  // namespace

void AccountCommands::Register(CLI::App& app, CliContext& ctx) {
  auto login = std::make_shared<LoginArgs>();
  CLI::App* loginCmd = app.add_subcommand("login", "Store the login of an existing account");
  loginCmd->add_option("email", login->email, "E-mail address of the account")->required();
  loginCmd->add_flag("--password-stdin", login->passwordStdin, "Read the password from stdin");
  loginCmd->callback([&ctx, login] { ctx.run = [&ctx, login] { return Login(ctx, *login); }; });

  auto offline = std::make_shared<bool>(false);
  CLI::App* accountCmd = app.add_subcommand("account", "Check the account with the service and show it");
  accountCmd->add_flag("--offline", *offline, "Show what the device knows without asking the service");
  accountCmd->callback([&ctx, offline] { ctx.run = [&ctx, offline] { return Account(ctx, *offline); }; });

  auto create = std::make_shared<CreateAccountArgs>();
  CLI::App* createCmd = app.add_subcommand("create-account", "Create a new account on the service");
  createCmd->add_option("email", create->email, "E-mail address")->required();
  createCmd->add_option("--first", create->first, "First name")->required();
  createCmd->add_option("--last", create->last, "Last name")->required();
  createCmd->add_flag("--password-stdin", create->passwordStdin, "Read the password from stdin");
  createCmd->callback([&ctx, create] { ctx.run = [&ctx, create] { return CreateAccount(ctx, *create); }; });

  auto blog = std::make_shared<CreateBlogArgs>();
  CLI::App* blogCmd = app.add_subcommand("create-blog", "Create a new blog of the account");
  blogCmd->add_option("urlname", blog->url, "Blog URL name")->required();
  blogCmd->add_option("--title", blog->title, "Title");
  blogCmd->add_option("--subtitle", blog->subtitle, "Subtitle");
  blogCmd->callback([&ctx, blog] { ctx.run = [&ctx, blog] { return CreateBlog(ctx, *blog); }; });
}

}  // namespace cli
