#include "photo/HtcCameraMessages.h"

#include <algorithm>

#include "platform/TextConversion.h"

namespace photo::htc {

namespace {

void PutU32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

uint32_t ReadU32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

std::vector<uint8_t> HandOverBlock(std::string_view folder) {
  std::vector<uint8_t> block(kHandOverSize, 0);
  PutU32(block, 0, static_cast<uint32_t>(kHandOverSize));
  // Offset 4, the window to answer to, stays 0: the answer comes back on the socket.
  PutU32(block, 12, 2);
  PutU32(block, 20, 64);
  std::u16string wide = platform::Utf8ToUtf16(folder);
  if (wide.size() > kMaxPathUnits - 1) wide.resize(kMaxPathUnits - 1);
  for (size_t i = 0; i < wide.size(); ++i) {
    block[32 + 2 * i] = static_cast<uint8_t>(wide[i]);
    block[32 + 2 * i + 1] = static_cast<uint8_t>(wide[i] >> 8);
  }
  PutU32(block, 552, 6);
  return block;
}

std::vector<uint8_t> Frame(uint32_t id, const std::vector<uint8_t>& block) {
  std::vector<uint8_t> message(kHeaderSize + block.size());
  PutU32(message, 0, id);
  PutU32(message, 4, static_cast<uint32_t>(block.size()));
  std::copy(block.begin(), block.end(), message.begin() + kHeaderSize);
  return message;
}

bool ParseAnswer(const uint8_t* block, size_t length, Answer& out) {
  out = Answer{};
  if (length < 8) return false;
  out.status = ReadU32(block + 4);
  if (out.status != 0 || length <= kPathOffset) return true;
  std::u16string path;
  for (size_t at = kPathOffset; at + 1 < length && path.size() < kMaxPathUnits; at += 2) {
    const char16_t unit = static_cast<char16_t>(block[at] | block[at + 1] << 8);
    if (unit == 0) break;
    path.push_back(unit);
  }
  out.path = platform::Utf16ToUtf8(path);
  return true;
}

}  // namespace photo::htc
