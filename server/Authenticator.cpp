#include "server/Authenticator.h"

#include <algorithm>

#include "server/Crypto.h"
#include "server/ServiceMessages.h"
#include "server/Timestamp.h"

namespace server {

namespace {

constexpr size_t kMaxNonce = 64;
constexpr int64_t kPurgeInterval = 60;

}  // namespace

bool Authenticator::CreatedInWindow(const std::string& created, int64_t now, int64_t& createdTime) const {
  if (!Timestamp::Parse(created, createdTime)) return false;
  return createdTime >= now - window_ && createdTime <= now + window_;
}

bool Authenticator::DigestMatches(const std::string& digest, const std::string& nonce, const std::string& created,
                                  const std::string& secret, int64_t now) const {
  int64_t createdTime = 0;
  if (nonce.empty() || nonce.size() > kMaxNonce || !CreatedInWindow(created, now, createdTime)) return false;
  return Crypto::ConstantTimeEquals(Crypto::Sha1Base64(nonce + created + secret), digest);
}

bool Authenticator::Verify(UserStore& users, const AuthBlock& auth, int64_t now) const {
  if (!auth.present) return false;
  auto found = users.FindByEmail(auth.user);
  return found && DigestMatches(auth.digest, auth.nonce, auth.created, found->password, now);
}

bool Authenticator::UseViewNonce(UserStore& users, const std::string& nonce, const std::string& created, int64_t now,
                                 int64_t& expires) const {
  int64_t createdTime = 0;
  Timestamp::Parse(created, createdTime);
  expires = std::max(now, createdTime) + window_;
  return users.UseNonce(ViewNonceKey(nonce), now, expires);
}

int Authenticator::Check(UserStore& users, const AuthBlock& auth, int64_t now, UserRecord& user) {
  if (!auth.present) return kInvalidAuthentication;
  if (now - lastPurge_ >= kPurgeInterval && users.PurgeNonces(now)) lastPurge_ = now;
  auto found = users.FindByEmail(auth.user);
  // An unknown user costs the same digest as a known one.
  std::string password = found ? found->password : std::string();
  bool matches = DigestMatches(auth.digest, auth.nonce, auth.created, password, now);
  if (!found || !matches) return kInvalidAuthentication;
  int64_t createdTime = 0;
  Timestamp::Parse(auth.created, createdTime);
  if (!users.UseNonce(auth.nonce, now, std::max(now, createdTime) + window_)) return kInvalidAuthentication;
  user = *found;
  return kOk;
}

}  // namespace server
