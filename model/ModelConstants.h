#pragma once

#include <cstdint>

// Numbers shared by the model objects, the database and their callers.
namespace model {

// Categories made on the device take temporary ids from here up to 0xFFFFFFFF.
inline constexpr uint32_t kFirstLocalCategoryId = 0xFFFFFF00u;
// The category id of "Unfiled".
inline constexpr uint32_t kUnfiledCategoryId = 0;
// Category filter value that shows every category.
inline constexpr uint32_t kAllCategories = 0xFFFFFFFFu;

// Show filter values.
inline constexpr uint16_t kShowAll = 0;
inline constexpr uint16_t kShowPending = 1;
inline constexpr uint16_t kShowPublished = 2;
inline constexpr uint16_t kShowPublishedByMe = 3;
inline constexpr uint16_t kShowEverything = 255;  // removed entries included

// Photo size codes (an entry's photoSize, a blog's download size).
inline constexpr uint8_t kSizeNothing = 0;
inline constexpr uint8_t kSizeThumbnails = 1;
inline constexpr uint8_t kSize176x132 = 2;
inline constexpr uint8_t kSize240x180 = 3;
inline constexpr uint8_t kSize320x240 = 4;
inline constexpr uint8_t kSize480x360 = 5;
inline constexpr uint8_t kSize640x480 = 6;
inline constexpr uint8_t kSizeFull = 7;
inline constexpr uint8_t kSizeRequestedFirst = 8;  // 8..13: download of (code - 6) asked for
inline constexpr uint8_t kSizeRequestedLast = 13;
inline constexpr uint8_t kSizeRemoved = 255;

// Upload size codes.
inline constexpr uint16_t kUpload320x240 = 0;
inline constexpr uint16_t kUpload480x360 = 1;
inline constexpr uint16_t kUpload640x480 = 2;
inline constexpr uint16_t kUploadFull = 3;

// Entry flags.
inline constexpr uint8_t kFlagNewEntry = 0x01;
inline constexpr uint8_t kFlagNewComments = 0x02;

// No limit on the number of entries kept (GetEntryLimit).
inline constexpr uint16_t kNoEntryLimit = 0x8000;

// Result codes of the model beyond the platform's.
inline constexpr uint32_t kResultNotJpeg = 10200;  // a photo file that is not a JPEG photo
inline constexpr uint32_t kResultAlreadyReported = 10201;
inline constexpr uint32_t kResultPhotoMissing = 11000;

}  // namespace model
