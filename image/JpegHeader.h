#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace image {

// One frame component and the tables its scan uses.
struct JpegComponent {
  uint8_t id = 0;
  uint8_t h = 1;         // horizontal sampling factor
  uint8_t v = 1;         // vertical sampling factor
  uint8_t quantTable = 0;
  uint8_t dcTable = 0;
  uint8_t acTable = 0;
};

// What an EXIF block (APP1 "Exif") holds that the program uses.
struct ExifData {
  bool hasThumbnail = false;
  uint64_t thumbnailOffset = 0;  // from the start of the input
  uint32_t thumbnailLength = 0;
  uint16_t compression = 0;      // 0 when absent; 6 marks a JPEG thumbnail
  std::string captureDate;       // at most 19 characters
  std::string description;       // at most 199 characters
  std::string make;
  std::string model;
  std::string userComment;
};

// Everything the headers up to the scan say about a picture.
struct JpegHeader {
  uint32_t width = 0;
  uint32_t height = 0;
  uint8_t frameMarker = 0;   // 0xC0, 0xC1, ...; 0 before a frame header was read
  bool progressive = false;
  uint8_t componentCount = 0;
  std::array<JpegComponent, 4> components{};
  uint16_t restartInterval = 0;
  ExifData exif;
};

}  // namespace image
