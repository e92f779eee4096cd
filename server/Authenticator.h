#pragma once

#include <cstdint>
#include <string>

#include "server/Records.h"
#include "server/SoapRequest.h"
#include "server/UserStore.h"

namespace server {

// Checks request digests: base64(SHA-1(nonce + created + secret)), with the
// creation time inside the window around the clock and each nonce usable once.
class Authenticator {
 public:
  explicit Authenticator(int64_t window) : window_(window) {}

  // Finds the user (e-mail letter case ignored), checks the digest and records
  // the nonce. Answers kOk with the user filled in, or kInvalidAuthentication.
  int Check(UserStore& users, const AuthBlock& auth, int64_t now, UserRecord& user);
  // The same check without spending the nonce: a cheap test before heavy work.
  bool Verify(UserStore& users, const AuthBlock& auth, int64_t now) const;
  // Checks a digest made from a secret other than the account password.
  bool DigestMatches(const std::string& digest, const std::string& nonce, const std::string& created,
                     const std::string& secret, int64_t now) const;
  // Records the nonce of a view-password block that matched; false for a replay.
  // Such nonces are kept apart from those of authentication blocks. The expiry
  // recorded is answered in expires.
  bool UseViewNonce(UserStore& users, const std::string& nonce, const std::string& created, int64_t now,
                    int64_t& expires) const;
  static std::string ViewNonceKey(const std::string& nonce) { return "VP " + nonce; }

 private:
  bool CreatedInWindow(const std::string& created, int64_t now, int64_t& createdTime) const;

  int64_t window_;
  int64_t lastPurge_ = 0;
};

}  // namespace server
