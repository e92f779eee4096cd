#pragma once

#include <cstddef>
#include <string>

namespace net {

// The nonce of request authentication.
class RandomToken {
 public:
  static constexpr size_t kLength = 31;

  // 31 characters from "a"-"z", "A"-"Z", "0"-"9", drawn from the kernel's random source.
  static std::string MakeRandomToken();
};

}  // namespace net
