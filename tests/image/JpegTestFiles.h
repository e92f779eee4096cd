#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Test pictures made with libjpeg, libjpeg's own decoding of them for comparison,
// and EXIF blocks built byte by byte.
namespace jpegtest {

using Bytes = std::vector<uint8_t>;

struct RgbImage {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> rgb;  // 3 bytes a pixel, top-down
};

// A photo-like picture: smooth gradients, a few hard edges and fine texture.
RgbImage SyntheticPhoto(uint32_t width, uint32_t height, uint32_t seed = 1);

struct EncodeOptions {
  int hSamp = 2;  // luma sampling factors; chroma is always 1 x 1
  int vSamp = 2;
  bool grey = false;
  int quality = 85;
  int restartInterval = 0;  // in MCUs
  bool optimize = false;    // image-specific Huffman tables
};

Bytes EncodeJpeg(const RgbImage& image, const EncodeOptions& options);

// libjpeg's decoding at 1/denom (slow integer transform, chroma replicated rather than
// interpolated); false when libjpeg refuses the data.
bool ReferenceDecode(const Bytes& jpeg, int denom, RgbImage& out);

struct ExifOptions {
  bool bigEndian = true;
  Bytes thumbnail;            // stored in IFD1 when not empty
  bool zeroLength = false;    // store the thumbnail but give its length as 0
  std::string description = "A walk in the park";
  std::string make = "Maker";
  std::string model = "Model 7";
  std::string date = "2025:06:01 14:30:05";
  std::string userComment = "holiday";
};

// The TIFF structure of an EXIF block (without the "Exif\0\0" prefix).
Bytes BuildTiff(const ExifOptions& options);
// The JPEG with an APP1 "Exif" segment holding `tiff` inserted after its start marker.
Bytes InsertExif(const Bytes& jpeg, const Bytes& tiff);

struct Agreement {
  double meanSteps = 0;  // mean absolute difference per 5-6-5 channel, in steps
  int maxSteps = 0;
};

// Compares a 16-bit bitmap's pixels with an RGB image reduced to 5-6-5.
Agreement Compare(const uint16_t* pixels, uint32_t stride, const RgbImage& reference);

}  // namespace jpegtest
