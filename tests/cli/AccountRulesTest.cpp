#include <gtest/gtest.h>

#include "cli/AccountCommands.h"
#include "cli/CliSession.h"
#include "platform/StringTable.h"

namespace cli {

namespace {

TEST(AccountRules, SizesAreReadByTheirListNamesOrCodes) {
  EXPECT_EQ(ParseDownloadSize("Nothing"), 0);
  EXPECT_EQ(ParseDownloadSize("thumbnails"), 1);
  EXPECT_EQ(ParseDownloadSize("640x480"), 6);
  EXPECT_EQ(ParseDownloadSize("Full size"), 7);
  EXPECT_EQ(ParseDownloadSize("full"), 7);
  EXPECT_EQ(ParseDownloadSize("4"), 4);
  EXPECT_FALSE(ParseDownloadSize("8"));
  EXPECT_FALSE(ParseDownloadSize("1024x768"));
  EXPECT_EQ(ParseUploadSize("320x240"), 0);
  EXPECT_EQ(ParseUploadSize("full"), 3);
  EXPECT_FALSE(ParseUploadSize("176x132"));
  EXPECT_EQ(platform::FormatText(23008, {"mine", "mine1", "mine2"}),
            "The Blog URL \"mine\"  is already in use.  Please try another one.  The following Blog URLs are "
            "available:\nmine1\nmine2");
}

}  // namespace

}  // namespace cli
