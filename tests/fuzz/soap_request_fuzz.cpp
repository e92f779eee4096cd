// The service's request handling under arbitrary input. The first line of the
// input is the SOAPAction header, the rest the body; "%AU%" in the body becomes a
// valid authentication block of a seeded account, so that mutated requests reach
// the operations rather than stopping at the digest check; "%JP%" becomes the
// base64 of a small real JPEG.
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>

#include "server/AdminCommands.h"
#include "server/Crypto.h"
#include "server/DataFolder.h"
#include "server/Database.h"
#include "server/JpegCodec.h"
#include "server/PhotoStore.h"
#include "server/ServiceConfig.h"
#include "server/SoapService.h"
#include "server/SyntheticPhoto.h"
#include "server/Timestamp.h"

namespace {

struct Service {
  std::filesystem::path dir;
  server::ServiceConfig config;
  server::Database db;
  std::unique_ptr<server::PhotoStore> photos;
  std::unique_ptr<server::SoapService> soap;
  uint64_t nonce = 0;
  std::string jpeg;

  Service() {
    dir = std::filesystem::temp_directory_path() / ("tessary-soap-fuzz-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::ostringstream out;
    server::AdminCommands admin(dir, out, out);
    admin.AddUser({"fuzz@example.com", "pw", "F", "Z", false, 1000}, 1000);
    admin.AddBlog({"blog", "fuzz@example.com", "T", "S", true, false, "", true});
    admin.AddBlog({"hidden", "fuzz@example.com", "H", "", false, true, "peek", true});
    config.dataDir = dir;
    config.publicHost = "fuzz.example";
    std::string error;
    if (!server::DataFolder::Open(dir, db, error)) std::abort();
    photos = std::make_unique<server::PhotoStore>(server::DataFolder::Photos(dir));
    soap = std::make_unique<server::SoapService>(db, *photos, config);
    std::string bytes;
    if (!server::JpegCodec::Encode(server::SyntheticPhoto::Landscape(32, 24, 1), 75, bytes)) std::abort();
    jpeg = server::Crypto::Base64Encode(bytes);
  }
  ~Service() { std::filesystem::remove_all(dir); }

  std::string Auth() {
    std::string token = "n" + std::to_string(++nonce);
    std::string created = server::Timestamp::FormatUtc(config.Now());
    return "<AU><UN>fuzz@example.com</UN><DI>" + server::Crypto::Sha1Base64(token + created + "pw") + "</DI><CR>" +
           created + "</CR><NO>" + token + "</NO></AU>";
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Service service;
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t newline = input.find('\n');
  std::string action = newline == std::string::npos ? input : input.substr(0, newline);
  std::string body = newline == std::string::npos ? std::string() : input.substr(newline + 1);
  for (size_t at = body.find("%AU%"); at != std::string::npos; at = body.find("%AU%", at + 1)) {
    body.replace(at, 4, service.Auth());
  }
  for (size_t at = body.find("%JP%"); at != std::string::npos; at = body.find("%JP%", at + 1)) {
    body.replace(at, 4, service.jpeg);
  }
  std::string answer = service.soap->Handle(action, body);
  // Every input gets one whole envelope back.
  if (answer.rfind("<?xml", 0) != 0 || answer.find("</soap:Envelope>") != answer.size() - 16) std::abort();
  return 0;
}
