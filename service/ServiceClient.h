#pragma once

#include <cstdint>

namespace net {
class Http;
}
namespace model {
class CWinBlogStorage;
class CWinBlogUser;
}  // namespace model

namespace service {

class MorvaneBlogService;

// The program's one HTTP client and one service client, and the hand-over of a
// blog and the account to the service client for one operation.
class ServiceClient {
 public:
  static net::Http& Http();
  static MorvaneBlogService& Service();

  // Opens the HTTP client; on failure shows "A connection to the Internet could
  // not be made." and answers false.
  static bool Open();
  static void Close();

  // The service client gets the database, the account's login and the blog's
  // name, view password and size codes.
  static void HandOver(MorvaneBlogService& service, model::CWinBlogUser* user,
                       model::CWinBlogStorage& blog);
};

}  // namespace service
