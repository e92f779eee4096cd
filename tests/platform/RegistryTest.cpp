#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <future>

#include "platform/CRegistry.h"
#include "platform/ErrorCodes.h"
#include "platform/Registry.h"
#include "tests/support/TempDeviceRoot.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

constexpr const char* kKey = "Software\\Test\\Key";

fs::path HiveFile(testsupport::TempDeviceRoot& root) {
  return root.HostRoot() / "Windows" / "Registry" / "HKEY_CURRENT_USER.json";
}

std::vector<std::string> FolderNames(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(Registry, ValuesKeepTypeAndBytesAcrossReloads) {
  testsupport::TempDeviceRoot root;
  RegistryHandle key = nullptr;
  ASSERT_EQ(RegCreateKey(Hive::CurrentUser, kKey, key), kSuccess);
  const uint8_t blob[] = {0, 1, 0xFE, 0xFF, 0};
  ASSERT_EQ(RegSetValue(key, "Blob", kRegBinary, blob, sizeof blob), kSuccess);
  ASSERT_EQ(RegSetValue(key, "Empty", kRegBinary, nullptr, 0), kSuccess);
  ASSERT_EQ(RegCloseKey(key), kSuccess);
  // The machine hive is a separate file.
  EXPECT_EQ(RegOpenKey(Hive::LocalMachine, kKey, key), kErrFileNotFound);

  RegistryReset();
  ASSERT_EQ(RegOpenKey(Hive::CurrentUser, "\\software\\TEST\\key\\", key), kSuccess);
  uint8_t buffer[8] = {};
  uint32_t type = 0, length = 2;
  EXPECT_EQ(RegQueryValue(key, "blob", type, buffer, length), kErrMoreData);
  EXPECT_EQ(length, sizeof blob);
  length = sizeof buffer;
  ASSERT_EQ(RegQueryValue(key, "BLOB", type, buffer, length), kSuccess);
  EXPECT_EQ(type, static_cast<uint32_t>(kRegBinary));
  EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + length), std::vector<uint8_t>(blob, blob + sizeof blob));
  std::vector<std::string> names;
  ASSERT_EQ(RegListValues(key, names), kSuccess);
  EXPECT_EQ(names, (std::vector<std::string>{"Blob", "Empty"}));
  ASSERT_EQ(RegDeleteValue(key, "Blob"), kSuccess);
  EXPECT_EQ(RegDeleteValue(key, "Blob"), kErrFileNotFound);
  RegCloseKey(key);

  RegistryReset();
  ASSERT_EQ(RegOpenKey(Hive::CurrentUser, kKey, key), kSuccess);
  EXPECT_EQ(RegQueryValue(key, "Blob", type, nullptr, length), kErrFileNotFound);
  RegCloseKey(key);
  // Saving left no temporary files beside the hive.
  EXPECT_EQ(FolderNames(HiveFile(root).parent_path()), std::vector<std::string>{"HKEY_CURRENT_USER.json"});
}

TEST(Registry, CorruptFileReadsEmptyAndIsKeptAside) {
  testsupport::TempDeviceRoot root;
  fs::create_directories(HiveFile(root).parent_path());
  for (const char* text : {"{not json", R"({"format":1,"keys":[{"path":"A","values":[{"name":"x","type":4,"data":"zz"}]}]})",
                           R"({"format":2,"keys":[]})", ""}) {
    std::ofstream(HiveFile(root)) << text;
    RegistryReset();
    RegistryHandle key = nullptr;
    EXPECT_EQ(RegOpenKey(Hive::CurrentUser, "A", key), kErrFileNotFound) << text;
    EXPECT_FALSE(fs::exists(HiveFile(root))) << text;
  }
  const auto names = FolderNames(HiveFile(root).parent_path());
  ASSERT_EQ(names.size(), 4u);
  for (const auto& n : names) EXPECT_EQ(n.rfind("HKEY_CURRENT_USER.json.corrupt-", 0), 0u) << n;

  // The registry works again afterwards.
  RegistryHandle key = nullptr;
  ASSERT_EQ(RegCreateKey(Hive::CurrentUser, "A", key), kSuccess);
  const uint32_t one = 1;
  EXPECT_EQ(RegSetValue(key, "x", kRegNumber, &one, 4), kSuccess);
  RegCloseKey(key);
}

TEST(Registry, AHiveThatIsNotAPlainFileIsSetAsideWithoutWaiting) {
  testsupport::TempDeviceRoot root;
  fs::create_directories(HiveFile(root).parent_path());
  ASSERT_EQ(::mkfifo(HiveFile(root).c_str(), 0600), 0);
  auto read = std::async(std::launch::async, [] { return CRegistry::GetNumber(Hive::CurrentUser, kKey, "n", 7); });
  if (read.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
    // Give the blocked reader a writer so that the test can end.
    const int fd = ::open(HiveFile(root).c_str(), O_WRONLY);
    ::close(fd);
    FAIL() << "reading the registry waited on a pipe";
  }
  EXPECT_EQ(read.get(), 7u);
  const auto names = FolderNames(HiveFile(root).parent_path());
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names[0].rfind("HKEY_CURRENT_USER.json.corrupt-", 0), 0u) << names[0];
  // The registry works again afterwards.
  ASSERT_TRUE(CRegistry().Create(Hive::CurrentUser, kKey));
  EXPECT_TRUE(CRegistry::SetNumber(Hive::CurrentUser, kKey, "n", 1));
  EXPECT_EQ(CRegistry::GetNumber(Hive::CurrentUser, kKey, "n", 0), 1u);
}

TEST(Registry, FailedSaveChangesNothing) {
  testsupport::TempDeviceRoot root;
  ASSERT_TRUE(CRegistry::SetNumber(Hive::CurrentUser, kKey, "n", 1) == false);  // key not created yet
  CRegistry reg;
  ASSERT_TRUE(reg.Create(Hive::CurrentUser, kKey));
  ASSERT_TRUE(reg.SetValue("n", kRegNumber, "\x01\0\0\0", 4));
  root.Fs().SetWriteFault([](const std::string&, uint32_t) { return kErrDiskFull; });
  EXPECT_FALSE(reg.SetValue("n", kRegNumber, "\x02\0\0\0", 4));
  EXPECT_FALSE(reg.DeleteValue("n"));
  root.Fs().SetWriteFault(nullptr);
  EXPECT_EQ(CRegistry::GetNumber(Hive::CurrentUser, kKey, "n", 0), 1u);
  RegistryReset();
  EXPECT_EQ(CRegistry::GetNumber(Hive::CurrentUser, kKey, "n", 0), 1u);
  EXPECT_EQ(FolderNames(HiveFile(root).parent_path()), std::vector<std::string>{"HKEY_CURRENT_USER.json"});
}

TEST(Registry, SeesChangesWrittenByAnotherProcess) {
  testsupport::TempDeviceRoot root;
  ASSERT_TRUE(CRegistry().Create(Hive::CurrentUser, kKey));
  ASSERT_TRUE(CRegistry::SetNumber(Hive::CurrentUser, kKey, "n", 1));
  const fs::path saved = root.HostRoot() / "saved.json";
  fs::copy_file(HiveFile(root), saved);
  ASSERT_TRUE(CRegistry::SetNumber(Hive::CurrentUser, kKey, "n", 2));
  // Another writer puts the older file back in place, as a rename would.
  fs::path staged = HiveFile(root);
  staged += ".new";
  fs::copy_file(saved, staged);
  fs::rename(staged, HiveFile(root));
  EXPECT_EQ(CRegistry::GetNumber(Hive::CurrentUser, kKey, "n", 0), 1u);
}

TEST(CRegistry, StringsAreUtf16WithTheirTerminatingZero) {
  testsupport::TempDeviceRoot root;
  CRegistry reg;
  ASSERT_TRUE(reg.Create(Hive::CurrentUser, kKey));
  ASSERT_TRUE(reg.WriteString("s", u"h\u00E9\U0001F4F7"));
  EXPECT_EQ(reg.QueryValueLength("s"), (4u + 1) * 2);
  ASSERT_TRUE(reg.WriteString("empty", u""));
  EXPECT_EQ(reg.QueryValueLength("empty"), 2u);
  EXPECT_EQ(reg.QueryValueLength("absent"), 0u);
  uint8_t raw[16];
  uint32_t type = 0, length = sizeof raw;
  ASSERT_TRUE(reg.QueryValue("s", type, raw, length));
  EXPECT_EQ(type, static_cast<uint32_t>(kRegString));
  EXPECT_EQ(std::vector<uint8_t>(raw, raw + length),
            (std::vector<uint8_t>{'h', 0, 0xE9, 0, 0x3D, 0xD8, 0xF7, 0xDC, 0, 0}));

  std::u16string text;
  ASSERT_TRUE(reg.ReadString("s", text));
  EXPECT_EQ(text, u"h\u00E9\U0001F4F7");
  EXPECT_FALSE(reg.ReadString("absent", text));
  // A number is not a string; an odd stray byte is not a character.
  ASSERT_TRUE(reg.SetValue("n", kRegNumber, "\x05\0\0\0", 4));
  EXPECT_FALSE(reg.ReadString("n", text));
  ASSERT_TRUE(reg.SetValue("odd", kRegString, "a\0b", 3));
  ASSERT_TRUE(reg.ReadString("odd", text));
  EXPECT_EQ(text, u"a");
  reg.Close();

  EXPECT_EQ(CRegistry::GetString(Hive::CurrentUser, kKey, "s", u"d"), u"h\u00E9\U0001F4F7");
  EXPECT_EQ(CRegistry::GetString(Hive::CurrentUser, kKey, "absent", u"d"), u"d");
  EXPECT_EQ(CRegistry::GetString(Hive::CurrentUser, "No\\Such\\Key", "s", u"d"), u"d");
  // A number that is not 4 bytes long reads as the default.
  EXPECT_EQ(CRegistry::GetNumber(Hive::CurrentUser, kKey, "odd", 9), 9u);
  EXPECT_EQ(CRegistry::GetNumber(Hive::CurrentUser, kKey, "n", 9), 5u);
}

TEST(CRegistry, HandleLifetime) {
  testsupport::TempDeviceRoot root;
  CRegistry absent(Hive::CurrentUser, kKey);
  EXPECT_FALSE(absent.Open());
  EXPECT_FALSE(absent.SetValue("x", kRegNumber, "\0\0\0\0", 4));
  CRegistry empty;
  EXPECT_FALSE(empty.Open());
  EXPECT_TRUE(empty.Close());
  {
    CRegistry made;
    ASSERT_TRUE(made.Create(Hive::CurrentUser, kKey));
    EXPECT_TRUE(made.IsOpen());
  }  // the destructor closes the handle (the sanitizer build checks the leak)
  EXPECT_TRUE(absent.Open());
  EXPECT_TRUE(absent.Close());
  EXPECT_FALSE(absent.IsOpen());
}
