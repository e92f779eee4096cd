#include <gtest/gtest.h>

#include "model/AccountRules.h"

namespace {

using model::AccountRules;

TEST(AccountRules, EmailNeedsSevenCharactersAnAtAndADotAfterIt) {
  EXPECT_FALSE(AccountRules::IsValidEmail("a@b.cd"));  // six characters
  EXPECT_TRUE(AccountRules::IsValidEmail("a@b.cde"));
  EXPECT_FALSE(AccountRules::IsValidEmail("first.last@host"));  // only dot before the "@"
  EXPECT_FALSE(AccountRules::IsValidEmail("abcdefgh"));
  EXPECT_TRUE(AccountRules::IsValidEmail("x@y@z.org"));
}

TEST(AccountRules, NewPasswordsNeedACharacterAndNoBlank) {
  EXPECT_FALSE(AccountRules::IsValidNewPassword(""));
  EXPECT_FALSE(AccountRules::IsValidNewPassword("two words"));
  EXPECT_FALSE(AccountRules::IsValidNewPassword(" "));
  EXPECT_TRUE(AccountRules::IsValidNewPassword("s3cret!"));
  EXPECT_TRUE(AccountRules::IsValidNewPassword("tab\there"));
}

TEST(AccountRules, BlogUrlsTakeLettersDigitsUnderscoreAndDash) {
  EXPECT_TRUE(AccountRules::IsValidBlogUrl("my_blog-2"));
  EXPECT_TRUE(AccountRules::IsValidBlogUrl("caf\xC3\xA9"));
  EXPECT_FALSE(AccountRules::IsValidBlogUrl(""));
  EXPECT_FALSE(AccountRules::IsValidBlogUrl("my.blog"));
  EXPECT_FALSE(AccountRules::IsValidBlogUrl("my blog"));
  EXPECT_FALSE(AccountRules::IsValidBlogUrl("..\\up"));
  EXPECT_FALSE(AccountRules::IsValidBlogUrl("a/b"));
}

}  // namespace
