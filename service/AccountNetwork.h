#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace model {
class CWinBlogStorage;
class CWinBlogUser;
class ProgressReporter;
}  // namespace model

namespace service {

class SyncProgress;

// The account-level work with the service: the account check, the sync of every
// blog, and the creation of accounts and blogs. Each runs inside the network step
// of its command and answers a result code; a failure it has shown answers 10201
// (or, for the creations, -10300).
class AccountNetwork {
 public:
  // "GU" with its subscription questions and, when needed, "EU"; the user file is
  // written whatever the result. Needs an open HTTP client.
  static uint32_t CheckAccount(model::CWinBlogUser& user, model::ProgressReporter* progress);
  // The account check, then the sync of every blog in list order; new
  // subscriptions are downloaded only when the user says so (asked once). A stop
  // on a transport failure says that no connection could be made.
  static uint32_t SyncAll(model::CWinBlogUser& user, model::ProgressReporter* progress);
  // Stores e-mail and password in the account and creates the account on the
  // service: 0, -10300 (message shown), -10301 (e-mail in use) or a code.
  static uint32_t CreateAccount(model::CWinBlogUser& user, model::ProgressReporter* progress,
                                std::string_view email, std::string_view password,
                                std::string_view firstName, std::string_view lastName);
  // Creates the blog on the service and hands back its new database (not yet in
  // the list): 0, -10300, -10302 with the first two suggested names, 14 when no
  // database can be made for the name, or a code.
  static uint32_t CreateBlog(model::CWinBlogUser& user, model::ProgressReporter* progress,
                             std::string_view urlName, std::string_view title,
                             std::string_view subtitle, std::array<std::string, 2>& suggestions,
                             std::unique_ptr<model::CWinBlogStorage>& created);

 private:
  static uint32_t CheckAccount(model::CWinBlogUser& user, SyncProgress& context);
};

}  // namespace service
