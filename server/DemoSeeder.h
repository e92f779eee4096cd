#pragma once

#include <filesystem>
#include <ostream>

namespace server {

// "seed-demo": two accounts, two blogs of the first with photos, categories and
// comments, a group blog, a hidden blog, a remote blog, and the two published
// files when none are set, so that a client can log in and sync at once.
class DemoSeeder {
 public:
  static constexpr const char* kEmail = "demo@example.com";
  static constexpr const char* kPassword = "demo";
  static constexpr const char* kFriendEmail = "friend@example.com";
  static constexpr const char* kFriendPassword = "friend";
  static constexpr const char* kViewPassword = "peek";

  // Answers an exit status; refuses (1) when the demo account exists already.
  static int Seed(const std::filesystem::path& dataDir, std::ostream& out, std::ostream& err);
};

}  // namespace server
