#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/server/ServiceHarness.h"
#include "tests/server/SoapClient.h"

namespace servertest {

// A running service with three accounts and three blogs:
// "mine" (owner's), "club" (owner's group blog with member as member) and
// "secret" (owner's hidden blog, view password "peek").
class ServiceTest : public ::testing::Test {
 public:
  void SetUp() override {
    harness = std::make_unique<ServiceHarness>([this](server::ServiceConfig& config) { Configure(config); });
    harness->AddUser("owner@example.com", "pw-owner", "Olive", "Owner");
    harness->AddUser("member@example.com", "pw-member", "Mel", "Member");
    harness->AddUser("other@example.com", "pw-other");
    harness->AddBlog("mine", "owner@example.com");
    harness->AddBlog("club", "owner@example.com", true);
    harness->AddMember("club", "member@example.com");
    harness->AddBlog("secret", "owner@example.com", false, true, "peek");
    owner = Client("owner@example.com", "pw-owner");
    member = Client("member@example.com", "pw-member");
    other = Client("other@example.com", "pw-other");
  }

  // Settings of the service under test, before it starts.
  virtual void Configure(server::ServiceConfig&) {}

  std::unique_ptr<SoapClient> Client(const std::string& user, const std::string& password) {
    auto client = std::make_unique<SoapClient>(harness->Port(), user, password);
    client->SetCreated(harness->Now());
    return client;
  }

  // "AP" of a fresh photo; answers the new entry id ("" on refusal).
  std::string AddEntry(SoapClient& client, const std::string& blog, const std::string& title, int category = 0,
                       std::string* answer = nullptr) {
    std::string xml = client.Call("AP", blog, Entry(0, category, title, SoapClient::Base64(SmallJpeg())));
    if (answer != nullptr) *answer = xml;
    return ElementText(xml, "ID");
  }

  static std::string Entry(int id, int category, const std::string& title, const std::string& base64Photo,
                           const std::string& date = "2026-03-01T10:00:00+0100") {
    std::string pi = "<PI>";
    if (id != 0) pi += "<ID>" + std::to_string(id) + "</ID>";
    pi += "<CI>" + std::to_string(category) + "</CI><TI>" + title + "</TI><CP>caption of " + title + "</CP><PD>" +
          date + "</PD><TD>" + date + "</TD>";
    if (!base64Photo.empty()) pi += "<JP>" + base64Photo + "</JP>";
    return pi + "</PI>";
  }

  static const std::string& SmallJpeg() {
    static const std::string jpeg = MakeJpeg(64, 48);
    return jpeg;
  }

  std::string FullChanges(SoapClient& client, const std::string& blog, const std::string& extra = "<VP />") {
    return client.Call("GC", blog, "<TS />" + extra + "<MX />");
  }

  std::unique_ptr<ServiceHarness> harness;
  std::unique_ptr<SoapClient> owner;
  std::unique_ptr<SoapClient> member;
  std::unique_ptr<SoapClient> other;
};

}  // namespace servertest
