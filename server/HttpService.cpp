#include "server/HttpService.h"

#include <chrono>
#include <fstream>
#include <thread>
#include <iterator>

#include "server/AccessLog.h"
#include "server/BlogPages.h"
#include "server/ContentStore.h"
#include "server/DataFolder.h"
#include "server/Database.h"
#include "server/HttpCache.h"
#include "server/HttpFront.h"
#include "server/PageStyle.h"
#include "server/PhotoResizer.h"
#include "server/PhotoStore.h"
#include "server/PublishedFileStore.h"
#include "server/RequestServer.h"
#include "server/SoapService.h"
#include "server/Transaction.h"
#include "server/UrlBuilder.h"

namespace server {

namespace {

std::string HostForUrls(const std::string& host, int port) {
  std::string name = host.find(':') != std::string::npos ? "[" + host + "]" : host;
  return port == 80 ? name : name + ":" + std::to_string(port);
}

std::optional<std::string> Param(const httplib::Request& req, const char* name) {
  if (!req.has_param(name)) return std::nullopt;
  return req.get_param_value(name);
}

// Photos never change under their name; a day keeps deleted ones from lingering.
constexpr const char* kPhotoCaching = "max-age=86400";

// Sets the validators and answers 304 when the client holds this version already.
bool NotModified(const httplib::Request& req, httplib::Response& res, const HttpCache::Validators& validators,
                 const char* caching) {
  res.set_header("ETag", validators.etag);
  if (!validators.lastModified.empty()) res.set_header("Last-Modified", validators.lastModified);
  res.set_header("Cache-Control", caching);
  if (!HttpCache::NotModified(req.get_header_value("If-None-Match"), req.get_header_value("If-Modified-Since"),
                              validators)) {
    return false;
  }
  res.status = 304;
  return true;
}

void SendPage(const BlogPages::Answer& page, const std::string& publicHost, httplib::Response& res) {
  res.status = page.status;
  if (!page.cookie.empty()) res.set_header("Set-Cookie", page.cookie);
  if (!page.location.empty()) res.set_redirect(page.location, page.status);
  res.set_header("Cache-Control", page.restricted ? "private, no-store" : "no-cache");
  res.set_header("X-Content-Type-Options", "nosniff");
  res.set_header("Referrer-Policy", "same-origin");
  res.set_header("Content-Security-Policy", "default-src 'none'; img-src 'self' http://" + publicHost +
                                                "; style-src 'self'; form-action 'self'; base-uri 'none'; "
                                                "frame-ancestors 'none'");
  if (page.location.empty()) res.set_content(page.html, "text/html; charset=utf-8");
}

}  // namespace

HttpService::HttpService(ServiceConfig config) : config_(std::move(config)) {}

HttpService::~HttpService() { Stop(); }

bool HttpService::Start(const std::string& host, int port, std::string& error) {
  db_ = std::make_unique<Database>();
  if (!DataFolder::Open(config_.dataDir, *db_, error)) return false;
  photos_ = std::make_unique<PhotoStore>(DataFolder::Photos(config_.dataDir));
  resizer_ = std::make_unique<PhotoResizer>(*photos_);
  {
    Transaction tx(*db_);
    ContentStore content(*db_);
    photos_->RemoveOrphans(content.LivePhotoKeys());
  }

  http_ = std::make_unique<RequestServer>();
  // Only the text of the Keep-Alive header: the front keeps connections.
  http_->set_keep_alive_timeout(std::chrono::duration_cast<std::chrono::seconds>(config_.http.idleTimeout).count());
  http_->set_keep_alive_max_count(HttpFront::kRequestsPerConnection);
  front_ = std::make_unique<HttpFront>(*http_, config_.http, config_.maxRequest);
  if (!front_->Listen(host, port, error)) return false;
  port_ = front_->Port();
  if (config_.publicHost.empty()) config_.publicHost = HostForUrls(host, port_);
  urls_ = std::make_unique<UrlBuilder>(config_.publicHost);
  soap_ = std::make_unique<SoapService>(*db_, *photos_, config_);
  pages_ = std::make_unique<BlogPages>(*db_, *urls_);
  Route();
  return true;
}

void HttpService::Route() {
  auto soap = [this](const httplib::Request& req, httplib::Response& res) {
    res.set_content(soap_->Handle(req.get_header_value("SOAPAction"), req.body), "text/xml; charset=utf-8");
  };
  http_->Post("/ws/", soap);
  http_->Post("/ws", soap);

  http_->Get(R"(/photos/([^/]+))", [this](const httplib::Request& req, httplib::Response& res) {
    std::filesystem::path file = photos_->Resolve(req.matches[1].str());
    HttpCache::Validators validators;
    if (file.empty() || !HttpCache::ForFile(file, "", validators)) {
      res.status = 404;
      return;
    }
    if (NotModified(req, res, validators, kPhotoCaching)) return;
    std::ifstream in(file, std::ios::binary);
    res.set_content(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()),
                    "image/jpeg");
  });

  http_->Get("/si.aspx", [this](const httplib::Request& req, httplib::Response& res) {
    std::string jpeg;
    std::string img = req.get_param_value("img");
    res.status = resizer_->Resize(img, req.get_param_value("ld"), req.get_param_value("q"), jpeg);
    if (res.status != 200) return;
    // The rendition is named by its source file and the asked size and quality.
    std::string_view name = img;
    if (name.substr(0, 1) == "/") name.remove_prefix(1);
    HttpCache::Validators validators;
    if (HttpCache::ForFile(photos_->Resolve(name.substr(name.find('/') + 1)),
                           req.get_param_value("ld") + "/" + req.get_param_value("q"), validators) &&
        NotModified(req, res, validators, kPhotoCaching)) {
      return;
    }
    res.set_content(std::move(jpeg), "image/jpeg");
  });

  http_->Get(PageStyle::kPath, [](const httplib::Request& req, httplib::Response& res) {
    HttpCache::Validators validators;
    validators.etag = PageStyle::ETag();
    if (NotModified(req, res, validators, "max-age=3600")) return;
    res.set_content(PageStyle::Css(), "text/css; charset=utf-8");
  });

  auto published = [this](const char* name) {
    return [this, name](const httplib::Request&, httplib::Response& res) {
      std::optional<std::string> content;
      {
        Transaction tx(*db_);
        PublishedFileStore files(*db_);
        content = files.Get(name);
      }
      if (!content) {
        res.status = 404;
        return;
      }
      res.set_content(std::move(*content), "text/plain; charset=utf-8");
    };
  };
  http_->Get("/Downloads/messages/wms/Tessary.txt", published(PublishedFileStore::kMessages));
  http_->Get("/Downloads/messages/wms/TessaryChannels.txt", published(PublishedFileStore::kChannels));

  auto page = [this](const httplib::Request& req, httplib::Response& res) {
    BlogPages::Request request{req.matches[1].str(), Param(req, "albumid"), Param(req, "preview"),
                               Param(req, "page"), req.get_header_value("Cookie"), std::nullopt};
    if (req.method == "POST") request.password = Param(req, "password").value_or("");
    SendPage(pages_->Render(request), config_.publicHost, res);
  };
  http_->Get(R"(/([A-Za-z0-9_-]{1,31})/?)", page);
  // The view-password form of hidden blogs.
  http_->Post(R"(/([A-Za-z0-9_-]{1,31})/?)", page);
  // For supervisors and load balancers; no blog name starts with a dot.
  http_->Get(R"(/\.healthz)", [this](const httplib::Request&, httplib::Response& res) {
    const bool healthy = Healthy();
    res.status = healthy ? 200 : 503;
    res.set_header("Cache-Control", "no-store");
    res.set_content(healthy ? "ok\n" : "store not readable\n", "text/plain; charset=utf-8");
  });
  if (config_.accessLog != nullptr) {
    accessLog_ = std::make_unique<AccessLog>(config_.accessLog);
    http_->set_logger([this](const httplib::Request& req, const httplib::Response& res) { accessLog_->Write(req, res); });
  }
  http_->set_error_handler([this](const httplib::Request& req, httplib::Response& res) {
    if (res.status != 404 || !res.body.empty() || (req.method != "GET" && req.method != "HEAD")) return;
    res.set_content(pages_->NotFoundPage(), "text/html; charset=utf-8");
  });
}

bool HttpService::Run() { return front_ && front_->Run(); }

bool HttpService::WaitUntilRunning() const {
  for (int i = 0; i < 500 && front_; ++i) {
    if (front_->Running()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

void HttpService::Stop() {
  if (front_) front_->Stop();
}

void HttpService::Finish() {
  if (front_) front_->Finish();
}

bool HttpService::Healthy() {
  std::error_code ec;
  if (!std::filesystem::is_directory(DataFolder::Photos(config_.dataDir), ec)) return false;
  Transaction tx(*db_);
  if (!tx.Active()) return false;
  Statement count = db_->Prepare("SELECT count(*) FROM users");
  return count.Valid() && count.Step();
}

}  // namespace server
