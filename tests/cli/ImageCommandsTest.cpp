#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/ImageCommands.h"
#include "image/JpegWriter.h"
#include "tests/support/TempDeviceRoot.h"

namespace cli {

namespace {

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

std::vector<uint8_t> ReadAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ImageCommandsTest : public ::testing::Test {
 protected:
  // A 64 x 48 JPEG: left half red, right half blue.
  void SetUp() override {
    image::Bitmap bitmap;
    ASSERT_EQ(bitmap.Allocate(64, 48), 0);
    for (uint32_t y = 0; y < 48; ++y) {
      for (uint32_t x = 0; x < 64; ++x) bitmap.Row(y)[x] = x < 32 ? 0xF800 : 0x001F;
    }
    photo_ = (root_.HostRoot() / "photo.jpg").string();
    ASSERT_TRUE(image::WriteBitmapAsJpeg(bitmap, photo_, 90));
  }

  std::string Out(const std::string& name) { return (root_.HostRoot() / name).string(); }

  Result Info(const std::string& file, bool json) {
    std::ostringstream out, err;
    Result r;
    r.status = ImageCommands::Info(file, json, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
  }

  Result Decode(const ImageCommands::DecodeOptions& o, const std::string& output, bool json = false) {
    std::ostringstream out, err;
    Result r;
    r.status = ImageCommands::Decode(photo_, o, output, json, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
  }

  testsupport::TempDeviceRoot root_;
  std::string photo_;
};

TEST_F(ImageCommandsTest, InfoTellsTheHeaders) {
  Result r = Info(photo_, false);
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("size: 64x48"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("sampling: 2x2 1x1 1x1"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("progressive: no"), std::string::npos);

  r = Info(photo_, true);
  ASSERT_EQ(r.status, 0);
  nlohmann::json j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["width"], 64);
  EXPECT_EQ(j["components"], 3);
  EXPECT_EQ(j["sampling"][0][0], 2);
  EXPECT_TRUE(j["exifThumbnail"].is_null());
}

TEST_F(ImageCommandsTest, UnusableFilesExitWithCodeAndMessage) {
  std::ofstream(Out("junk.jpg")) << std::string(700, 'x');
  Result r = Info(Out("junk.jpg"), false);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Invalid JPEG (-217)"), std::string::npos) << r.err;

  std::vector<uint8_t> bytes = ReadAll(photo_);
  for (size_t i = 2; i + 1 < bytes.size(); ++i) {
    if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
      bytes[i + 1] = 0xC2;
      break;
    }
  }
  std::ofstream(Out("progressive.jpg"), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  r = Info(Out("progressive.jpg"), true);
  EXPECT_EQ(r.status, 1);
  nlohmann::json j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["progressive"], true);
  EXPECT_EQ(j["error"], -234);
  EXPECT_EQ(j["message"], "Progressive JPEGs not supported");

  r = Info(Out("missing.jpg"), false);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("cannot open"), std::string::npos);
}

TEST_F(ImageCommandsTest, DecodeDrawsIntoTheTargetAndSaysWhatItCovers) {
  ImageCommands::DecodeOptions o;
  o.width = 80;
  o.height = 80;
  Result r = Decode(o, Out("fit.ppm"), true);
  ASSERT_EQ(r.status, 0) << r.err;
  nlohmann::json j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["covered"]["left"], 0);
  EXPECT_EQ(j["covered"]["top"], 10);
  EXPECT_EQ(j["covered"]["bottom"], 70);
  std::vector<uint8_t> ppm = ReadAll(Out("fit.ppm"));
  std::string header = "P6\n80 80\n255\n";
  ASSERT_EQ(ppm.size(), header.size() + 80 * 80 * 3);
  ASSERT_TRUE(std::equal(header.begin(), header.end(), ppm.begin()));
  auto pixel = [&](int x, int y) { return &ppm[header.size() + static_cast<size_t>(y * 80 + x) * 3]; };
  EXPECT_EQ(pixel(40, 5)[0], 0);  // above the picture: the canvas
  EXPECT_GT(pixel(10, 40)[0], 200);
  EXPECT_GT(pixel(70, 40)[2], 200);

  o.scale = 4;
  r = Decode(o, Out("quarter.png"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("16x12"), std::string::npos) << r.out;
  std::vector<uint8_t> png = ReadAll(Out("quarter.png"));
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(png[1], 'P');
  EXPECT_EQ(png[2], 'N');
  EXPECT_EQ(png[3], 'G');
}

TEST_F(ImageCommandsTest, ThumbnailWritesTheEntryThumbnail) {
  std::ostringstream out, err;
  ASSERT_EQ(ImageCommands::Thumbnail(photo_, Out("thumb.jpg"), false, out, err), 0) << err.str();
  std::vector<uint8_t> jpeg = ReadAll(Out("thumb.jpg"));
  ASSERT_GT(jpeg.size(), 4u);
  EXPECT_EQ(jpeg[0], 0xFF);
  EXPECT_EQ(jpeg[1], 0xD8);
  std::ostringstream info, infoErr;
  ASSERT_EQ(ImageCommands::Info(Out("thumb.jpg"), false, info, infoErr), 0);
  EXPECT_NE(info.str().find("size: 96x96"), std::string::npos);
}

TEST(ImageCommandsSize, ParsesWidthByHeight) {
  uint32_t w = 0, h = 0;
  EXPECT_TRUE(ImageCommands::ParseSize("96x96", w, h));
  EXPECT_EQ(w, 96u);
  EXPECT_TRUE(ImageCommands::ParseSize("65535X1", w, h));
  EXPECT_EQ(h, 1u);
  for (const char* bad : {"", "96", "x96", "96x", "0x5", "5x0", "65536x2", "9x9x9", "-1x4", "4x 4"}) {
    EXPECT_FALSE(ImageCommands::ParseSize(bad, w, h)) << bad;
  }
}

}  // namespace

}  // namespace cli
