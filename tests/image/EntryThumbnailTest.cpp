#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "image/EntryThumbnail.h"
#include "image/ImageInformation.h"
#include "image/JpegErrors.h"
#include "tests/image/JpegTestFiles.h"
#include "tests/support/TempDeviceRoot.h"

namespace {

using jpegtest::Bytes;

class EntryThumbnailTest : public ::testing::Test {
 protected:
  // Stores the bytes as a photo in My Pictures and opens it.
  std::unique_ptr<platform::File> Photo(const Bytes& bytes) {
    std::string phone = "\\My Documents\\My Pictures\\photo.jpg";
    std::ofstream(root_.Host("\\My Documents\\My Pictures") / "photo.jpg", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::unique_ptr<platform::File> file;
    EXPECT_EQ(root_.Fs().OpenFile(phone, platform::OpenMode::Read, file), 0u);
    return file;
  }

  size_t TempFiles() {
    size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(root_.Host(root_.Fs().TempFolder()))) {
      n += e.path().filename().string().rfind("MVTemp", 0) == 0 ? 1 : 0;
    }
    return n;
  }

  testsupport::TempDeviceRoot root_;
};

TEST_F(EntryThumbnailTest, PortraitPhotoKeepsItsTopSquare) {
  // Top 5/8 red, the rest blue: scaled to 96 wide the picture is 128 high, and the
  // thumbnail keeps rows 0-95, where blue starts at row 80.
  jpegtest::RgbImage img;
  img.width = 480;
  img.height = 640;
  img.rgb.resize(480 * 640 * 3);
  for (size_t i = 0; i < img.rgb.size(); i += 3) {
    bool top = i / 3 / 480 < 400;
    img.rgb[i] = top ? 255 : 0;
    img.rgb[i + 2] = top ? 0 : 255;
  }
  auto file = Photo(jpegtest::EncodeJpeg(img, {}));
  std::vector<uint8_t> thumb;
  ASSERT_EQ(image::MakeEntryThumbnail(*file, thumb), 0);
  ASSERT_GT(thumb.size(), 100u);
  EXPECT_EQ(TempFiles(), 0u);

  jpegtest::RgbImage back;
  ASSERT_TRUE(jpegtest::ReferenceDecode(thumb, 1, back));
  ASSERT_EQ(back.width, 96u);
  ASSERT_EQ(back.height, 96u);
  auto at = [&](uint32_t x, uint32_t y) { return &back.rgb[(size_t{y} * 96 + x) * 3]; };
  EXPECT_GT(at(48, 40)[0], 200);
  EXPECT_LT(at(48, 40)[2], 60);
  EXPECT_GT(at(48, 90)[2], 200);
  EXPECT_LT(at(48, 90)[0], 60);
}

TEST_F(EntryThumbnailTest, CameraPhotoUsesItsExifThumbnail) {
  jpegtest::RgbImage green;
  green.width = 160;
  green.height = 120;
  green.rgb.assign(160 * 120 * 3, 0);
  for (size_t i = 1; i < green.rgb.size(); i += 3) green.rgb[i] = 255;
  jpegtest::ExifOptions o;
  o.thumbnail = jpegtest::EncodeJpeg(green, {});
  Bytes photo = jpegtest::InsertExif(jpegtest::EncodeJpeg(jpegtest::SyntheticPhoto(800, 600), {}),
                                     jpegtest::BuildTiff(o));
  auto file = Photo(photo);
  std::vector<uint8_t> thumb;
  ASSERT_EQ(image::MakeEntryThumbnail(*file, thumb), 0);
  jpegtest::RgbImage back;
  ASSERT_TRUE(jpegtest::ReferenceDecode(thumb, 1, back));
  ASSERT_EQ(back.width, 96u);
  const uint8_t* mid = &back.rgb[(48 * 96 + 48) * 3];
  EXPECT_LT(mid[0], 40);
  EXPECT_GT(mid[1], 200);
}

TEST_F(EntryThumbnailTest, UnusablePhotoGivesNoThumbnail) {
  jpegtest::RgbImage img = jpegtest::SyntheticPhoto(64, 64);
  Bytes progressive = jpegtest::EncodeJpeg(img, {});
  for (size_t i = 2; i + 1 < progressive.size(); ++i) {
    if (progressive[i] == 0xFF && progressive[i + 1] == 0xC0) {
      progressive[i + 1] = 0xC2;
      break;
    }
  }
  auto file = Photo(progressive);
  std::vector<uint8_t> thumb = {1, 2, 3};
  EXPECT_EQ(image::MakeEntryThumbnail(*file, thumb), image::kJpegErrProgressive);
  EXPECT_TRUE(thumb.empty());
  EXPECT_EQ(TempFiles(), 0u);
}

TEST_F(EntryThumbnailTest, ImageInformationReadsOnlyTheHeaders) {
  jpegtest::ExifOptions o;
  o.thumbnail = jpegtest::EncodeJpeg(jpegtest::SyntheticPhoto(16, 12), {});
  Bytes photo = jpegtest::InsertExif(jpegtest::EncodeJpeg(jpegtest::SyntheticPhoto(77, 51), {}),
                                     jpegtest::BuildTiff(o));
  // Garbage after the headers does not matter: only the headers are read.
  size_t sos = 0;
  for (size_t i = photo.size() - 2; i > 2 && sos == 0; --i) sos = photo[i] == 0xFF && photo[i + 1] == 0xDA ? i : 0;
  Bytes headersOnly(photo.begin(), photo.begin() + static_cast<ptrdiff_t>(sos) + 14);
  auto file = Photo(headersOnly);
  image::ImageInformation info;
  ASSERT_EQ(image::ReadImageInformation(*file, info), 0);
  EXPECT_EQ(info.width, 77u);
  EXPECT_EQ(info.height, 51u);
  EXPECT_TRUE(info.hasExifThumbnail);
  EXPECT_EQ(info.captureDate, "2025:06:01 14:30:05");
  EXPECT_EQ(info.description, "A walk in the park");

  Bytes progressive = jpegtest::EncodeJpeg(jpegtest::SyntheticPhoto(30, 20), {});
  for (size_t i = 2; i + 1 < progressive.size(); ++i) {
    if (progressive[i] == 0xFF && progressive[i + 1] == 0xC0) {
      progressive[i + 1] = 0xC2;
      break;
    }
  }
  file = Photo(progressive);
  EXPECT_EQ(image::ReadImageInformation(*file, info), image::kJpegErrProgressive);
  EXPECT_EQ(info.width, 30u);
  EXPECT_EQ(info.height, 20u);
  EXPECT_FALSE(info.hasExifThumbnail);
}

TEST_F(EntryThumbnailTest, AWholeJpegRunsToItsEndMarker) {
  jpegtest::ExifOptions o;
  o.thumbnail = jpegtest::EncodeJpeg(jpegtest::SyntheticPhoto(16, 12), {});
  jpegtest::EncodeOptions restarts;
  restarts.restartInterval = 2;
  const Bytes photo = jpegtest::InsertExif(jpegtest::EncodeJpeg(jpegtest::SyntheticPhoto(90, 70), restarts),
                                           jpegtest::BuildTiff(o));
  EXPECT_TRUE(image::IsWholeJpeg(*Photo(photo)));
  Bytes trailing = photo;
  trailing.insert(trailing.end(), {0x00, 0x12, 0xFF});
  EXPECT_TRUE(image::IsWholeJpeg(*Photo(trailing)));
  // Cut anywhere after the headers (the thumbnail's end marker inside the EXIF
  // block does not count), the photo is not whole.
  for (size_t keep : {photo.size() - 1, photo.size() - 2, photo.size() / 2, o.thumbnail.size() + 40}) {
    EXPECT_FALSE(image::IsWholeJpeg(*Photo(Bytes(photo.begin(), photo.begin() + static_cast<ptrdiff_t>(keep)))))
        << keep;
  }
}

}  // namespace
