#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The messages of the older external camera program, as they travel over its
// local socket "IACW_AGENT": each is a little-endian identifier, a little-endian
// length, and a block of that many bytes.
namespace photo::htc {

inline constexpr const char* kAgentName = "IACW_AGENT";
inline constexpr uint32_t kHandOverId = 47003;
inline constexpr uint32_t kAnswerId = 48002;
inline constexpr uint32_t kCloseId = 16;  // the close request for "Camera [Photo]"
inline constexpr size_t kHandOverSize = 556;
inline constexpr size_t kPathOffset = 552;
inline constexpr size_t kMaxPathUnits = 260;  // the terminating zero included
inline constexpr size_t kHeaderSize = 8;
// Longest block the program reads; a longer one ends the connection.
inline constexpr size_t kMaxBlock = 4096;

// The hand-over block asking for a photo in the phone folder `folder`.
std::vector<uint8_t> HandOverBlock(std::string_view folder);
// The message: identifier, length, block.
std::vector<uint8_t> Frame(uint32_t id, const std::vector<uint8_t>& block);

struct Answer {
  uint32_t status = 1;  // 0: a photo was taken
  std::string path;     // its phone path, when the status is 0
};
// Reads an answer block; false when it is too short to hold the status.
bool ParseAnswer(const uint8_t* block, size_t length, Answer& out);

uint32_t ReadU32(const uint8_t* bytes);

}  // namespace photo::htc
