#include <CLI/CLI.hpp>
#include <malloc.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>

#include "TessaryVersion.h"
#include "server/AdminCommands.h"
#include "server/DemoSeeder.h"
#include "server/HttpService.h"
#include "server/PublishedFileStore.h"

namespace {

server::HttpService* g_running = nullptr;

void OnSignal(int) {
  if (g_running != nullptr) g_running->Stop();
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

int Serve(server::ServiceConfig config, const std::string& listen) {
  // Request bodies, photos and decodes are allocated and freed in large blocks
  // by many threads; glibc would otherwise raise this threshold after the first
  // large free and keep later blocks in per-thread arenas, holding hundreds of
  // megabytes after a few large requests.
  mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
  std::string host;
  int port = 0;
  if (!SplitListen(listen, host, port)) {
    std::cerr << "--listen wants HOST:PORT, not " << listen << "\n";
    return 2;
  }
  server::HttpService service(std::move(config));
  std::string error;
  if (!service.Start(host, port, error)) {
    std::cerr << error << "\n";
    return 1;
  }
  g_running = &service;
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  std::cout << "tessary-service listening on " << listen << " (port " << service.Port() << "), URLs on http://"
            << service.Config().publicHost << "/, data in " << service.Config().dataDir.string() << std::endl;
  bool ok = service.Run();
  g_running = nullptr;
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"tessary-service: the photo-blog web service for Tessary"};
  app.set_version_flag("--version", std::string("tessary-service ") + TESSARY_VERSION_FULL);
  app.require_subcommand(1);
  std::string dataDir = DefaultDataDir().string();
  app.add_option("--data", dataDir, "Data folder (store, photos, outbox)")->capture_default_str();
  int64_t freeQuota = 500;
  app.add_option("--free-quota", freeQuota, "Photo quota of new free accounts")->capture_default_str();
  std::function<int()> run;

  server::ServiceConfig config;
  std::string listen = "127.0.0.1:8080";
  CLI::App* serve = app.add_subcommand("serve", "Run the web service");
  serve->add_option("--listen", listen, "Address and port to listen on")->capture_default_str();
  serve->add_option("--public-host", config.publicHost,
                    "HOST[:PORT] written into the URLs handed out (default: the listen address)");
  serve->add_option("--clock-window", config.clockWindow,
                    "Seconds a request's creation time may differ from the clock")
      ->capture_default_str();
  serve->callback([&] {
    run = [&] {
      config.dataDir = dataDir;
      config.freeQuota = freeQuota;
      return Serve(config, listen);
    };
  });

  auto admin = [&] { return server::AdminCommands(dataDir, std::cout, std::cerr); };

  CLI::App* user = app.add_subcommand("user", "Manage accounts");
  user->require_subcommand(1);
  server::AdminCommands::NewUser newUser;
  int64_t quota = -1;
  CLI::App* userAdd = user->add_subcommand("add", "Create an account");
  userAdd->add_option("EMAIL", newUser.email)->required();
  userAdd->add_option("PASSWORD", newUser.password)->required();
  userAdd->add_option("--first", newUser.firstName, "First name");
  userAdd->add_option("--last", newUser.lastName, "Last name");
  userAdd->add_flag("--pro", newUser.pro, "A pro account (no photo quota)");
  userAdd->add_option("--quota", quota, "Photo quota")->check(CLI::NonNegativeNumber);
  userAdd->callback([&] {
    run = [&] {
      if (quota >= 0) newUser.quota = quota;
      return admin().AddUser(newUser, freeQuota);
    };
  });
  user->add_subcommand("list", "List accounts: id, e-mail, name, type, quota, photos")->callback([&] {
    run = [&] { return admin().ListUsers(); };
  });

  CLI::App* blog = app.add_subcommand("blog", "Manage blogs");
  blog->require_subcommand(1);
  server::AdminCommands::NewBlog newBlog;
  bool noComments = false;
  CLI::App* blogAdd = blog->add_subcommand("add", "Create a blog");
  blogAdd->add_option("URLNAME", newBlog.url)->required();
  blogAdd->add_option("--owner", newBlog.ownerEmail, "E-mail address of the owner")->required();
  blogAdd->add_option("--title", newBlog.title);
  blogAdd->add_option("--subtitle", newBlog.subtitle);
  blogAdd->add_flag("--group", newBlog.group, "A group blog: members may post");
  CLI::Option* hidden = blogAdd->add_flag("--hidden", newBlog.hidden, "Not public: others need the view password");
  blogAdd->add_option("--view-password", newBlog.viewPassword, "Password for viewing a hidden blog")->needs(hidden);
  blogAdd->add_flag("--no-comments", noComments, "Do not allow comments");
  blogAdd->callback([&] {
    run = [&] {
      newBlog.comments = !noComments;
      return admin().AddBlog(newBlog);
    };
  });

  std::string url;
  std::string email;
  std::string name;
  std::string viewPassword;
  CLI::App* blogViewPassword =
      blog->add_subcommand("view-password", "Set the view password of a blog (others must give the new one)");
  blogViewPassword->add_option("URLNAME", url)->required();
  blogViewPassword->add_option("PASSWORD", viewPassword)->required();
  blogViewPassword->callback([&] { run = [&] { return admin().SetViewPassword(url, viewPassword); }; });

  CLI::App* member = app.add_subcommand("member", "Manage members of group blogs");
  member->require_subcommand(1);
  CLI::App* memberAdd = member->add_subcommand("add", "Let a user post to a group blog");
  memberAdd->add_option("URLNAME", url)->required();
  memberAdd->add_option("EMAIL", email)->required();
  memberAdd->callback([&] { run = [&] { return admin().AddMember(url, email); }; });

  CLI::App* remote = app.add_subcommand("remote-blog", "Manage users' remote blogs");
  remote->require_subcommand(1);
  CLI::App* remoteAdd = remote->add_subcommand("add", "Give a user a remote blog");
  remoteAdd->add_option("EMAIL", email)->required();
  remoteAdd->add_option("NAME", name)->required();
  remoteAdd->callback([&] { run = [&] { return admin().AddRemoteBlog(email, name); }; });

  std::string file;
  CLI::App* messages = app.add_subcommand("messages", "The version and notes file clients read");
  messages->require_subcommand(1);
  CLI::App* messagesSet = messages->add_subcommand("set", "Publish FILE as the version and notes file");
  messagesSet->add_option("FILE", file)->required();
  messagesSet->callback([&] {
    run = [&] { return admin().SetPublishedFile(server::PublishedFileStore::kMessages, file); };
  });
  CLI::App* channels = app.add_subcommand("channels", "The recommended-blogs file clients read");
  channels->require_subcommand(1);
  CLI::App* channelsSet = channels->add_subcommand("set", "Publish FILE as the channels file");
  channelsSet->add_option("FILE", file)->required();
  channelsSet->callback([&] {
    run = [&] { return admin().SetPublishedFile(server::PublishedFileStore::kChannels, file); };
  });

  app.add_subcommand("seed-demo", "Create demo accounts and blogs with photos and comments")->callback([&] {
    run = [&] { return server::DemoSeeder::Seed(dataDir, std::cout, std::cerr); };
  });

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  }
  return run ? run() : 0;
}
