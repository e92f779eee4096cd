// Who may talk to the service: digests, clock window, replays, envelope errors.
#include "tests/server/ServiceTest.h"

namespace servertest {
namespace {

const char* kInvalidAuth = "Error: Invalid Authentication";

class AuthenticationTest : public ServiceTest {};

TEST_F(AuthenticationTest, CorrectDigestIsAcceptedWithEmailCaseIgnored) {
  EXPECT_EQ(ElementText(owner->Call("GU"), "AT"), "free");
  auto shouted = Client("OWNER@Example.COM", "pw-owner");
  std::string xml = shouted->Call("GU");
  EXPECT_EQ(Message(xml), "");
  EXPECT_EQ(ElementText(xml, "UI"), ElementText(owner->Call("GU"), "UI"));
}

TEST_F(AuthenticationTest, WrongPasswordUnknownUserAndMissingBlockAreRefused) {
  EXPECT_EQ(Message(Client("owner@example.com", "wrong")->Call("GU")), kInvalidAuth);
  EXPECT_EQ(Message(Client("nobody@example.com", "pw-owner")->Call("GU")), kInvalidAuth);
  EXPECT_EQ(Message(Client("", "")->Call("GU")), kInvalidAuth);  // "<AU />"
  // A digest made for another password of the same user.
  std::string body = owner->Envelope("GU", owner->AuthBlock("abc"));
  body.replace(body.find("<DI>") + 4, 28, SoapClient::Digest("abc", SoapClient::FormatUtc(harness->Now()), "pw"));
  EXPECT_EQ(Message(owner->Post("\"http://x/ws/GU\"", body)), kInvalidAuth);
}

TEST_F(AuthenticationTest, CreationTimeMustBeWithinFifteenMinutes) {
  int64_t now = harness->Now();
  owner->SetCreated(now - 15 * 60);
  EXPECT_EQ(Message(owner->Call("GU")), "");
  owner->SetCreated(now + 15 * 60);
  EXPECT_EQ(Message(owner->Call("GU")), "");
  owner->SetCreated(now - 15 * 60 - 1);
  EXPECT_EQ(Message(owner->Call("GU")), kInvalidAuth);
  owner->SetCreated(now + 15 * 60 + 1);
  EXPECT_EQ(Message(owner->Call("GU")), kInvalidAuth);
}

TEST_F(AuthenticationTest, NonceCannotBeReplayedEvenAfterARefusal) {
  EXPECT_EQ(Message(owner->CallWithNonce("GU", "once")), "");
  EXPECT_EQ(Message(owner->CallWithNonce("GU", "once")), kInvalidAuth);
  // A refused operation still spends its nonce.
  EXPECT_EQ(Message(other->CallWithNonce("AC", "twice", "mine", "<CA><NM>x</NM></CA>")),
            "Error: You have not permission to add a category");
  EXPECT_EQ(Message(other->CallWithNonce("AC", "twice", "mine", "<CA><NM>x</NM></CA>")), kInvalidAuth);
  // A request that failed authentication did not spend it.
  EXPECT_EQ(Message(Client("owner@example.com", "bad")->CallWithNonce("GU", "fresh")), kInvalidAuth);
  EXPECT_EQ(Message(owner->CallWithNonce("GU", "fresh")), "");
}

TEST_F(AuthenticationTest, VersionAndEnvelopeErrorsAnswerWithMs) {
  std::string body = owner->Envelope("GU", owner->AuthBlock("v2"));
  body.replace(body.find("<V>3</V>"), 8, "<V>2</V>");
  int status = 0;
  EXPECT_EQ(Message(owner->Post("\"http://x/ws/GU\"", body, &status)), "Error: Invalid Version");
  EXPECT_EQ(status, 200);
  EXPECT_EQ(Message(owner->Post("\"http://x/ws/GU\"", "<<<garbage", &status)), "Error: Invalid request");
  EXPECT_EQ(status, 200);
  EXPECT_EQ(Message(owner->Post("\"http://x/ws/NOPE\"", owner->Envelope("NOPE", ""))), "Error: Invalid request");
  // The SOAPAction path must be /ws/OP and name the operation of the body.
  EXPECT_EQ(Message(owner->Post("\"http://x/api/GU\"", owner->Envelope("GU", owner->AuthBlock("p1")))),
            "Error: Invalid request");
  EXPECT_EQ(Message(owner->Post("\"http://x/ws/GC\"", owner->Envelope("GU", owner->AuthBlock("p2")))),
            "Error: Invalid request");
  EXPECT_EQ(Message(owner->Post("\"http://any.host.example:81/ws/GU\"", owner->Envelope("GU", owner->AuthBlock("p3")))),
            "");
}

TEST_F(AuthenticationTest, UnknownBlogIsRefusedForEveryBlogOperation) {
  for (const char* op : {"GC", "EB", "AC", "EC", "DC", "AP", "EP", "DP", "AO", "EO", "DCO", "PhotoEMail",
                         "RemoteBlog"}) {
    EXPECT_EQ(Message(owner->Call(op, "no-such-blog")), "Error: A blog doesn't exist") << op;
  }
}

}  // namespace
}  // namespace servertest
