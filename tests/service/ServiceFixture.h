#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "net/Win32Http.h"
#include "service/MorvaneBlogService.h"
#include "service/ServiceSettings.h"
#include "tests/support/RawHttpServer.h"
#include "tests/support/ScriptedUserInterface.h"
#include "tests/support/TempDeviceRoot.h"

namespace servicetest {

// An HTTP client whose token and clock are fixed, so request bytes are known.
class FixedHttp : public net::Win32Http {
 public:
  std::string MakeRandomToken() override { return token; }
  uint32_t Now() override { return now; }

  std::string token = "abcdefghijklmnopqrstuvwxyz01234";
  uint32_t now = 0;
};

// Base64 of the SHA-1 of `material`, by OpenSSL.
std::string Digest(const std::string& material);

// A service client talking to a scripted loopback server, with an account
// (user id 7) and one blog database, in a fresh device root, in UTC.
class ServiceTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kUserId = 7;

  ServiceTest();
  ~ServiceTest() override;

  // A time value for a UTC calendar date.
  static uint32_t Time(int year, int month, int day, int hour, int minute, int second);
  // The envelope the service sends around an answer's elements.
  static std::string Answer(const std::string& operation, const std::string& elements);
  // The body of the n-th request the server received.
  std::string Body(size_t n);
  // The part of a request body between <V>3</V> and the end of the inner RQ.
  std::string Elements(size_t n);
  // The authentication block the fixed token and clock give (with <BI>).
  std::string Auth(bool withBlog) const;
  // Counts the progress reports with that stage.
  int StageReports(uint32_t stage) const;

  static int Callback(void* context, const net::ProgressRecord* record);

  testsupport::TempDeviceRoot root_;
  testsupport::ScriptedUserInterface ui_;
  testsupport::RawHttpServer server_;
  FixedHttp http_;
  service::ServiceSettings settings_;
  model::CWinBlogUser user_;
  std::unique_ptr<model::CWinBlogStorage> blog_;
  std::unique_ptr<service::MorvaneBlogService> service_;
  std::vector<net::ProgressRecord> reports_;
  std::string savedTz_;
  bool hadTz_ = false;
};

}  // namespace servicetest
