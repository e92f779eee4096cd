// What a photo may cost the service: the pixel limit of uploads, the size of
// resized renditions, and decoding no larger than needed.
#include "tests/server/ServiceTest.h"

#include <httplib.h>

#include <future>

#include "server/DecodeGate.h"
#include "server/JpegCodec.h"
#include "server/RenditionCache.h"

namespace servertest {
namespace {

// A real JPEG whose frame header claims another size (the data behind it stays small).
std::string WithClaimedSize(std::string jpeg, int width, int height) {
  for (size_t i = 2; i + 9 < jpeg.size(); ++i) {
    auto marker = static_cast<unsigned char>(jpeg[i + 1]);
    if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
      jpeg[i + 5] = static_cast<char>(height >> 8);
      jpeg[i + 6] = static_cast<char>(height & 0xFF);
      jpeg[i + 7] = static_cast<char>(width >> 8);
      jpeg[i + 8] = static_cast<char>(width & 0xFF);
      break;
    }
  }
  return jpeg;
}

class PhotoLimitsTest : public ServiceTest {};

TEST_F(PhotoLimitsTest, UploadsAboveTheMegapixelLimitAreRefusedFromTheirHeader) {
  std::string bomb = WithClaimedSize(MakeJpeg(64, 48), 9000, 8000);
  int w = 0, h = 0;
  ASSERT_TRUE(server::JpegCodec::ReadSize(bomb, w, h));
  ASSERT_EQ(w, 9000);
  EXPECT_EQ(Message(owner->Call("AP", "mine", Entry(0, 0, "bomb", SoapClient::Base64(bomb)))),
            "Error: The photo is too large");
  EXPECT_EQ(harness->PhotoFileCount(), 0u);
}

TEST_F(PhotoLimitsTest, ResizedRenditionsAreCappedWhilePhotosThatFitComeWhole) {
  std::string jpeg = MakeJpeg(2000, 1000, 5);
  std::string url = ElementText(owner->Call("AP", "mine", Entry(0, 0, "wide", SoapClient::Base64(jpeg))), "OU");
  std::string img = url.substr(url.find("/photos/") + 1);
  httplib::Client client("127.0.0.1", harness->Port());
  int w = 0, h = 0;
  auto capped = client.Get(("/si.aspx?img=" + img + "&ld=1500&q=100").c_str());
  ASSERT_TRUE(capped && capped->status == 200);
  ASSERT_TRUE(server::JpegCodec::ReadSize(capped->body, w, h));
  EXPECT_EQ(w, 1024);
  EXPECT_EQ(h, 512);
  auto whole = client.Get(("/si.aspx?img=" + img + "&ld=8192&q=100").c_str());
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->body, jpeg);
  auto fallback = client.Get(("/si.aspx?img=" + img + "&ld=0&q=0").c_str());
  ASSERT_TRUE(fallback && server::JpegCodec::ReadSize(fallback->body, w, h));
  EXPECT_EQ(w, 480);
  // The same rendition again is the same answer.
  EXPECT_EQ(client.Get(("/si.aspx?img=" + img + "&ld=1500&q=100").c_str())->body, capped->body);
}

TEST(PhotoDecoding, DecodesAtTheSmallestScaleThatStillCoversTheSide) {
  std::string jpeg = MakeJpeg(800, 400);
  server::RgbImage image;
  ASSERT_TRUE(server::JpegCodec::Decode(jpeg, 250, image));
  EXPECT_EQ(image.width, 300);
  EXPECT_EQ(image.height, 150);
  ASSERT_TRUE(server::JpegCodec::Decode(jpeg, 100, image));
  EXPECT_EQ(image.width, 100);
}

TEST(RenditionCache, KeepsTheMostRecentlyUsedWithinItsBudget) {
  server::RenditionCache cache(800);
  for (char name = 'a'; name < 'i'; ++name) cache.Put(std::string(1, name), std::string(100, name));
  EXPECT_EQ(cache.Find("a"), std::string(100, 'a'));
  cache.Put("i", std::string(100, 'i'));
  EXPECT_TRUE(cache.Find("a"));
  EXPECT_FALSE(cache.Find("b"));
  EXPECT_TRUE(cache.Find("i"));
  cache.Put("big", std::string(101, 'x'));
  EXPECT_FALSE(cache.Find("big"));
}

TEST(DecodeGate, BoundsDecodesByNumberAndMemory) {
  using namespace std::chrono_literals;
  server::DecodeGate gate(2, 0, 100);
  std::future<bool> second;
  {
    server::DecodeGate::Turn first = gate.Wait(80);
    ASSERT_TRUE(first.Granted());
    EXPECT_TRUE(gate.WaitUnlessCrowded(20).Granted());
    // Together they would need more than the budget: a resize is refused (no
    // room to wait here), an upload waits.
    EXPECT_FALSE(gate.WaitUnlessCrowded(80).Granted());
    second = std::async(std::launch::async, [&gate] { return gate.Wait(80).Granted(); });
    EXPECT_EQ(second.wait_for(100ms), std::future_status::timeout);
  }
  EXPECT_TRUE(second.get());
  // Alone, a decode larger than the whole budget still runs.
  EXPECT_TRUE(gate.Wait(500).Granted());
}

}  // namespace
}  // namespace servertest
