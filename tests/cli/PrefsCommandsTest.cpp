#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/CliContext.h"
#include "cli/PrefsCommands.h"
#include "platform/CRegistry.h"
#include "platform/Preferences.h"
#include "platform/TimeValue.h"
#include "tests/support/TempDeviceRoot.h"

namespace cli {

using namespace platform;

namespace {

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

Result Set(const std::string& name, const std::string& value, bool json = false) {
  std::ostringstream out, err;
  Result r;
  r.status = PrefsCommands::Set(name, value, json, out, err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

nlohmann::json ListJson() {
  std::ostringstream out, err;
  EXPECT_EQ(PrefsCommands::List(true, out, err), CliContext::kOk);
  return nlohmann::json::parse(out.str());
}

nlohmann::json Row(const nlohmann::json& list, const std::string& name) {
  for (const auto& row : list) {
    if (row["name"] == name) return row;
  }
  ADD_FAILURE() << "no row " << name;
  return {};
}

}  // namespace

TEST(PrefsCommands, ListsEveryPreferenceWithItsDefault) {
  testsupport::TempDeviceRoot root;
  const auto list = ListJson();
  ASSERT_EQ(list.size(), 10u);
  for (const auto& row : list) EXPECT_TRUE(row["default"].get<bool>()) << row.dump();
  EXPECT_EQ(Row(list, "Download Photo Size")["value"], 5);
  EXPECT_EQ(Row(list, "Download Photo Size")["label"], "480x360");
  EXPECT_EQ(Row(list, "Last ignored version")["value"], "1.0");
  EXPECT_TRUE(Row(list, "Main View Font")["value"].is_null());

  std::ostringstream out, err;
  ASSERT_EQ(PrefsCommands::List(false, out, err), CliContext::kOk);
  EXPECT_NE(out.str().find("Download Photo Size     5 (480x360)  [default]"), std::string::npos) << out.str();
}

TEST(PrefsCommands, SetStoresThroughThePreferenceAccessors) {
  testsupport::TempDeviceRoot root;
  EXPECT_EQ(Set("show edit dialog", "on").status, CliContext::kOk);
  EXPECT_EQ(Set("Download Photo Size", "Full size").status, CliContext::kOk);
  EXPECT_EQ(Set("Currently Viewed Blog", "holiday").status, CliContext::kOk);
  EXPECT_EQ(Set("Last message check", "2010-06-01 12:00:00").status, CliContext::kOk);
  EXPECT_EQ(Set("Last Message Number", "4294967295").status, CliContext::kOk);
  EXPECT_TRUE(ReadShowEditDialog());
  EXPECT_EQ(ReadDownloadPhotoSize(), 7u);
  EXPECT_EQ(ReadCurrentlyViewedBlog(), "holiday");
  SystemTime st;
  TimeValueToSystemTime(ReadLastMessageCheck(), st);
  EXPECT_EQ((std::array{st.year, st.month, st.day, st.hour}), (std::array<uint16_t, 4>{2010, 6, 1, 12}));
  EXPECT_EQ(ReadLastMessageNumber(), 0xFFFFFFFFu);

  const auto list = ListJson();
  EXPECT_FALSE(Row(list, "Show Edit Dialog")["default"].get<bool>());
  EXPECT_TRUE(Row(list, "Stay In Camera")["default"].get<bool>());

  std::ostringstream out, err;
  ASSERT_EQ(PrefsCommands::Reset("DOWNLOAD PHOTO SIZE", false, out, err), CliContext::kOk);
  EXPECT_EQ(ReadDownloadPhotoSize(), 5u);
  EXPECT_TRUE(Row(ListJson(), "Download Photo Size")["default"].get<bool>());
}

TEST(PrefsCommands, OutOfRangePhotoSizeIsShownAsTheDefault) {
  testsupport::TempDeviceRoot root;
  ASSERT_TRUE(CreatePreferenceKeys());
  ASSERT_TRUE(WriteDownloadPhotoSize(9));
  const auto row = Row(ListJson(), "Download Photo Size");
  EXPECT_EQ(row["value"], 5);
  EXPECT_TRUE(row["default"].get<bool>());
}

TEST(PrefsCommands, FontFieldsOverTheStoredFont) {
  testsupport::TempDeviceRoot root;
  ASSERT_EQ(Set("Main View Font", "height=-12, weight=700,face=DejaVu Sans, Bold").status, CliContext::kOk);
  ASSERT_EQ(Set("Main View Font", "italic=1").status, CliContext::kOk);
  LogFont font;
  ASSERT_TRUE(ReadMainViewFont(font));
  EXPECT_EQ(font.height, -12);
  EXPECT_EQ(font.weight, 700);
  EXPECT_EQ(font.italic, 1);
  EXPECT_EQ(font.faceName, u"DejaVu Sans, Bold");
  const auto row = Row(ListJson(), "Main View Font");
  EXPECT_EQ(row["value"]["face"], "DejaVu Sans, Bold");
  EXPECT_FALSE(row["default"].get<bool>());
}

TEST(PrefsCommands, RefusesUnknownNamesAndBadValuesAsUsageErrors) {
  testsupport::TempDeviceRoot root;
  const std::pair<std::string, std::string> bad[] = {
      {"Show Edit Dialog", "maybe"},
      {"Download Photo Size", "1"},
      {"Download Photo Size", "8"},
      {"Last Message Number", "-1"},
      {"Last Message Number", "4294967296"},
      {"Last message check", "2041-01-01 00:00:00"},
      {"Last message check", "2010-02-30 00:00:00"},
      {"Main View Font", "weight=heavy"},
      {"Main View Font", "italic=256"},
      {"Main View Font", "colour=red"},
      {"Main View Font", "face=" + std::string(32, 'x')},
      {"Main View Font", ""},
  };
  for (const auto& [name, value] : bad) {
    const Result r = Set(name, value);
    EXPECT_EQ(r.status, CliContext::kUsage) << name << " = " << value;
    EXPECT_NE(r.err.find(name), std::string::npos) << r.err;
  }
  const Result unknown = Set("Favourite Colour", "blue");
  EXPECT_EQ(unknown.status, CliContext::kUsage);
  EXPECT_NE(unknown.err.find("unknown preference \"Favourite Colour\""), std::string::npos);
  std::ostringstream out, err;
  EXPECT_EQ(PrefsCommands::Reset("Favourite Colour", false, out, err), CliContext::kUsage);
  // Nothing was stored by the refused commands.
  for (const auto& row : ListJson()) EXPECT_TRUE(row["default"].get<bool>()) << row.dump();
}

TEST(PrefsCommands, StoreFailureIsAFailureStatus) {
  testsupport::TempDeviceRoot root;
  ASSERT_TRUE(CreatePreferenceKeys());
  root.Fs().SetWriteFault([](const std::string&, uint32_t) { return 112u; });
  const Result r = Set("Stay In Camera", "on");
  root.Fs().SetWriteFault(nullptr);
  EXPECT_EQ(r.status, CliContext::kFailure);
  EXPECT_FALSE(ReadStayInCamera());
}

TEST(PrefsCommands, ParsesTheCommandLine) {
  testsupport::TempDeviceRoot root;
  CLI::App app;
  CliContext ctx;
  ctx.AddGlobalOptions(app);
  PrefsCommands::Register(app, ctx);
  const std::string dir = root.HostRoot().string();
  app.parse(std::vector<std::string>{"1", "Stay In Camera", "set", "prefs", dir, "--device-root"});  // reversed argv
  ASSERT_TRUE(ctx.run);
  ASSERT_TRUE(ctx.Prepare());
  std::streambuf* saved = std::cout.rdbuf();
  std::ostringstream captured;
  std::cout.rdbuf(captured.rdbuf());
  const int status = ctx.run();
  std::cout.rdbuf(saved);
  EXPECT_EQ(status, CliContext::kOk);
  EXPECT_NE(captured.str().find("Stay In Camera          on"), std::string::npos) << captured.str();
  platform::DeviceFileSystem::SetCurrent(&root.Fs());
  EXPECT_TRUE(ReadStayInCamera());

  CLI::App bare;
  CliContext bareCtx;
  bareCtx.AddGlobalOptions(bare);
  PrefsCommands::Register(bare, bareCtx);
  EXPECT_THROW(bare.parse(std::vector<std::string>{"Stay In Camera", "set", "prefs"}), CLI::ParseError);
}

}  // namespace cli
