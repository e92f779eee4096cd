#include "server/ServiceCommandLine.h"

#include <malloc.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "TessaryVersion.h"
#include "server/DemoSeeder.h"
#include "server/HttpService.h"
#include "server/PublishedFileStore.h"

namespace server {

namespace {

HttpService* g_running = nullptr;
volatile std::sig_atomic_t g_signalled = 0;

// The first SIGTERM or SIGINT lets the requests under way finish; another
// one stops at once.
void OnSignal(int) {
  if (g_running == nullptr) return;
  if (g_signalled != 0) {
    g_running->Stop();
  } else {
    g_signalled = 1;
    g_running->Finish();
  }
}

std::filesystem::path DefaultDataDir() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg != '\0') {
    return std::filesystem::path(xdg) / "tessary-service";
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return std::filesystem::path(home) / ".local/share/tessary-service";
  }
  return "tessary-service-data";
}

// "HOST:PORT", "[V6]:PORT" or "HOST" (port 8080).
bool SplitListen(const std::string& listen, std::string& host, int& port) {
  std::string portText;
  if (!listen.empty() && listen.front() == '[') {
    size_t close = listen.find(']');
    if (close == std::string::npos) return false;
    host = listen.substr(1, close - 1);
    if (close + 1 < listen.size()) {
      if (listen[close + 1] != ':') return false;
      portText = listen.substr(close + 2);
    }
  } else {
    size_t colon = listen.rfind(':');
    host = listen.substr(0, colon);
    if (colon != std::string::npos) portText = listen.substr(colon + 1);
  }
  if (host.empty()) return false;
  if (portText.empty()) {
    port = 8080;
    return true;
  }
  try {
    size_t used = 0;
    port = std::stoi(portText, &used);
    return used == portText.size() && port >= 0 && port <= 65535;
  } catch (const std::exception&) {
    return false;
  }
}

int Serve(ServiceConfig config, const std::string& listen) {
  // Request bodies, photos and decodes are allocated and freed in large blocks
  // by many threads; glibc would otherwise raise this threshold after the first
  // large free and keep later blocks in per-thread arenas, holding hundreds of
  // megabytes after a few large requests.
  mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
  std::string host;
  int port = 0;
  if (!SplitListen(listen, host, port)) {
    std::cerr << "--listen wants HOST:PORT, not " << listen << "\n";
    return ServiceCommandLine::kUsage;
  }
  HttpService service(std::move(config));
  std::string error;
  if (!service.Start(host, port, error)) {
    std::cerr << error << "\n";
    return ServiceCommandLine::kFailure;
  }
  g_running = &service;
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  std::cout << "tessary-service listening on " << listen << " (port " << service.Port() << "), URLs on http://"
            << service.Config().publicHost << "/, data in " << service.Config().dataDir.string() << std::endl;
  bool ok = service.Run();
  g_running = nullptr;
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  if (ok) std::cout << "tessary-service stopped" << std::endl;
  return ok ? ServiceCommandLine::kOk : ServiceCommandLine::kFailure;
}

}  // namespace

ServiceCommandLine::ServiceCommandLine(CLI::App& app) : dataDir_(DefaultDataDir().string()) {
  app.description("tessary-service: the photo-blog web service for Tessary");
  app.set_version_flag("--version", std::string("tessary-service ") + TESSARY_VERSION_FULL);
  app.require_subcommand(1);
  app.add_option("--data", dataDir_,
                 "Data folder: store, photos, outbox (default: $XDG_DATA_HOME/tessary-service, else "
                 "~/.local/share/tessary-service)")
      ->type_name("DIR")
      ->envname("TESSARY_SERVICE_DATA");
  app.add_option("--free-quota", freeQuota_, "Photo quota of new free accounts")
      ->type_name("N")
      ->envname("TESSARY_SERVICE_FREE_QUOTA")
      ->capture_default_str();
  AddServe(app);
  AddAccounts(app);
  AddBlogs(app);
  AddPublishedFiles(app);
  app.add_subcommand("seed-demo", "Create demo accounts and blogs with photos and comments")->callback([this] {
    run_ = [this] { return DemoSeeder::Seed(dataDir_, std::cout, std::cerr); };
  });
}

int ServiceCommandLine::Run() { return run_ ? run_() : kOk; }

AdminCommands ServiceCommandLine::Admin() const { return AdminCommands(dataDir_, std::cout, std::cerr); }

void ServiceCommandLine::AddServe(CLI::App& app) {
  CLI::App* serve = app.add_subcommand("serve", "Run the web service");
  serve->add_option("--listen", listen_, "Address and port to listen on ([::1]:PORT for IPv6, port 0: any free one)")
      ->type_name("HOST:PORT")
      ->envname("TESSARY_SERVICE_LISTEN")
      ->capture_default_str();
  serve->add_option("--public-host", config_.publicHost,
                    "HOST[:PORT] written into the URLs handed out (default: the listen address)")
      ->type_name("HOST[:PORT]")
      ->envname("TESSARY_SERVICE_PUBLIC_HOST");
  serve->add_option("--clock-window", config_.clockWindow,
                    "Seconds a request's creation time may differ from the clock")
      ->type_name("SECONDS")
      ->capture_default_str();
  serve->add_flag("--no-access-log", noAccessLog_, "Do not write the access log on standard output");
  serve->callback([this] {
    run_ = [this] {
      config_.dataDir = dataDir_;
      config_.freeQuota = freeQuota_;
      if (!noAccessLog_) config_.accessLog = stdout;
      return Serve(config_, listen_);
    };
  });
}

void ServiceCommandLine::AddAccounts(CLI::App& app) {
  CLI::App* user = app.add_subcommand("user", "Manage accounts");
  user->require_subcommand(1);
  CLI::App* userAdd = user->add_subcommand("add", "Create an account");
  userAdd->add_option("EMAIL", newUser_.email, "E-mail address, the account's login")->required();
  userAdd->add_option("PASSWORD", newUser_.password, "Password (1 to 63 characters)")->required();
  userAdd->add_option("--first", newUser_.firstName, "First name")->type_name("NAME");
  userAdd->add_option("--last", newUser_.lastName, "Last name")->type_name("NAME");
  userAdd->add_flag("--pro", newUser_.pro, "A pro account (no photo quota)");
  userAdd->add_option("--quota", quota_, "Photo quota (default: --free-quota; 0 for pro accounts)")
      ->type_name("N")
      ->check(CLI::NonNegativeNumber);
  userAdd->callback([this] {
    run_ = [this] {
      if (quota_ >= 0) newUser_.quota = quota_;
      return Admin().AddUser(newUser_, freeQuota_);
    };
  });
  user->add_subcommand("list", "List accounts: id, e-mail, name, type, quota, photos")->callback([this] {
    run_ = [this] { return Admin().ListUsers(); };
  });
}

void ServiceCommandLine::AddBlogs(CLI::App& app) {
  CLI::App* blog = app.add_subcommand("blog", "Manage blogs");
  blog->require_subcommand(1);
  CLI::App* blogAdd = blog->add_subcommand("add", "Create a blog");
  blogAdd->add_option("URLNAME", newBlog_.url, "Name in the blog's address (A-Z a-z 0-9 - _)")->required();
  blogAdd->add_option("--owner", newBlog_.ownerEmail, "E-mail address of the owner")->type_name("EMAIL")->required();
  blogAdd->add_option("--title", newBlog_.title, "Title")->type_name("TEXT");
  blogAdd->add_option("--subtitle", newBlog_.subtitle, "Subtitle")->type_name("TEXT");
  blogAdd->add_flag("--group", newBlog_.group, "A group blog: members may post");
  CLI::Option* hidden = blogAdd->add_flag("--hidden", newBlog_.hidden, "Not public: others need the view password");
  blogAdd->add_option("--view-password", newBlog_.viewPassword, "Password for viewing a hidden blog")
      ->type_name("PASSWORD")
      ->needs(hidden);
  blogAdd->add_flag("--no-comments", noComments_, "Do not allow comments");
  blogAdd->callback([this] {
    run_ = [this] {
      newBlog_.comments = !noComments_;
      return Admin().AddBlog(newBlog_);
    };
  });

  CLI::App* blogViewPassword =
      blog->add_subcommand("view-password", "Set the view password of a blog (others must give the new one)");
  blogViewPassword->add_option("URLNAME", url_, "The blog")->required();
  blogViewPassword->add_option("PASSWORD", viewPassword_, "The new view password")->required();
  blogViewPassword->callback([this] { run_ = [this] { return Admin().SetViewPassword(url_, viewPassword_); }; });

  CLI::App* member = app.add_subcommand("member", "Manage members of group blogs");
  member->require_subcommand(1);
  CLI::App* memberAdd = member->add_subcommand("add", "Let a user post to a group blog");
  memberAdd->add_option("URLNAME", url_, "The group blog")->required();
  memberAdd->add_option("EMAIL", email_, "The user's e-mail address")->required();
  memberAdd->callback([this] { run_ = [this] { return Admin().AddMember(url_, email_); }; });

  CLI::App* remote = app.add_subcommand("remote-blog", "Manage users' remote blogs");
  remote->require_subcommand(1);
  CLI::App* remoteAdd = remote->add_subcommand("add", "Give a user a remote blog");
  remoteAdd->add_option("EMAIL", email_, "The user's e-mail address")->required();
  remoteAdd->add_option("NAME", name_, "Name of the remote blog")->required();
  remoteAdd->callback([this] { run_ = [this] { return Admin().AddRemoteBlog(email_, name_); }; });
}

void ServiceCommandLine::AddPublishedFiles(CLI::App& app) {
  CLI::App* messages = app.add_subcommand("messages", "The version and notes file clients read");
  messages->require_subcommand(1);
  CLI::App* messagesSet = messages->add_subcommand("set", "Publish FILE as the version and notes file");
  messagesSet->add_option("FILE", file_, "Text file of at most 1 MB")->required();
  messagesSet->callback([this] {
    run_ = [this] { return Admin().SetPublishedFile(PublishedFileStore::kMessages, file_); };
  });
  CLI::App* channels = app.add_subcommand("channels", "The recommended-blogs file clients read");
  channels->require_subcommand(1);
  CLI::App* channelsSet = channels->add_subcommand("set", "Publish FILE as the channels file");
  channelsSet->add_option("FILE", file_, "Text file of at most 1 MB")->required();
  channelsSet->callback([this] {
    run_ = [this] { return Admin().SetPublishedFile(PublishedFileStore::kChannels, file_); };
  });
}

manual::ProgramManual ServiceCommandLine::Manual() {
  manual::ProgramManual manual;
  manual.name = "tessary-service";
  manual.version = TESSARY_VERSION_FULL;
  manual.summary = "the photo-blog web service for Tessary";
  manual.description = {
      "tessary-service serves what Tessary clients talk to: the photo-blog protocol (SOAP over HTTP on /ws/), "
      "the photo files and their resized renditions, the version and channels files, and plain HTML pages of the "
      "blogs. Everything it keeps is in one data folder.",
      "serve runs the service. It writes one line for every answered request to standard output, in the combined "
      "log format. GET /.healthz answers 200 while the store can be read, else 503. SIGTERM or SIGINT stops "
      "taking connections and ends the service once the requests under way are answered (within 30 seconds); "
      "a second signal stops it at once.",
      "The other commands work on the data folder directly, also while the service runs. Run them as the user "
      "the service runs as, so that the files they make remain the service's.",
      "The service speaks plain HTTP. It listens on the loopback address unless told otherwise; to serve other "
      "machines, put a reverse proxy that adds TLS in front of it and give the proxy's name as --public-host.",
  };
  manual.exitStatuses = {
      {"0", "Success"},
      {"1", "Failure: the data folder or the address could not be used, or the change was refused (the message "
            "says why)"},
      {"2", "The command line is not valid"},
  };
  manual.environment = {
      {"XDG_DATA_HOME", "The default data folder is $XDG_DATA_HOME/tessary-service, or without it "
                        "~/.local/share/tessary-service"},
  };
  manual.files = {
      {"DATA/service.db", "The SQLite store (accounts, blogs, entries, comments); back it up with SQLite's online "
                          "backup, for instance sqlite3 service.db \".backup COPY\""},
      {"DATA/photos/", "The photos as uploaded and their two smaller versions"},
      {"DATA/outbox/", "Photo mails, one file each"},
      {"/etc/default/tessary-service", "Settings of the system service: listen address, public host, data folder"},
  };
  manual.examples = {
      {"tessary-service --data ~/photo-service seed-demo", "Make demo accounts and blogs"},
      {"tessary-service --data ~/photo-service serve --listen 127.0.0.1:9000",
       "Serve them on port 9000 of the loopback address"},
      {"tessary-service user add ann@example.com secret --first Ann", "Create an account"},
      {"curl -fsS http://127.0.0.1:8080/.healthz", "Ask whether the service is healthy"},
  };
  manual.seeAlso = {"tessary-cli(1)", "tessary(1)", "sqlite3(1)"};
  return manual;
}

}  // namespace server
