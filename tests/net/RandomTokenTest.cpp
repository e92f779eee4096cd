#include <gtest/gtest.h>

#include <set>
#include <string>

#include "net/RandomToken.h"

namespace {

TEST(RandomToken, LettersAndDigitsThatDifferEachTime) {
  std::set<std::string> seen;
  std::set<char> used;
  for (int i = 0; i < 200; ++i) {
    const std::string token = net::RandomToken::MakeRandomToken();
    ASSERT_EQ(token.size(), 31u);
    for (char c : token) {
      ASSERT_TRUE((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) << token;
      used.insert(c);
    }
    seen.insert(token);
  }
  EXPECT_EQ(seen.size(), 200u);
  // 6200 draws leave none of the 62 characters unused except with negligible chance.
  EXPECT_EQ(used.size(), 62u);
}

}  // namespace
