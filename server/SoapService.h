#pragma once

#include <string>
#include <string_view>

#include "server/Authenticator.h"
#include "server/Database.h"
#include "server/PhotoStore.h"
#include "server/ServiceConfig.h"
#include "server/StoreOrder.h"
#include "server/UrlBuilder.h"

namespace server {

// Answers one SOAP request: parses it, authenticates the user, finds the blog,
// runs the operation in one transaction and writes the answer. Any refusal is an
// answer with <MS>; nothing here fails without one.
class SoapService {
 public:
  SoapService(Database& db, PhotoStore& photos, const ServiceConfig& config);

  std::string Handle(std::string_view soapAction, std::string_view body);

 private:
  Database& db_;
  PhotoStore& photos_;
  const ServiceConfig& config_;
  UrlBuilder urls_;
  Authenticator authenticator_;
  StoreOrder order_;
};

}  // namespace server
