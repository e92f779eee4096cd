#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// The platform's font record as kept in the registry: 92 bytes, little-endian.
struct LogFont {
  static constexpr size_t kByteSize = 92;
  static constexpr size_t kFaceNameUnits = 32;  // UTF-16 code units, the last one always zero

  int32_t height = 0;
  int32_t width = 0;
  int32_t escapement = 0;
  int32_t orientation = 0;
  int32_t weight = 0;
  uint8_t italic = 0;
  uint8_t underline = 0;
  uint8_t strikeOut = 0;
  uint8_t charSet = 0;
  uint8_t outPrecision = 0;
  uint8_t clipPrecision = 0;
  uint8_t quality = 0;
  uint8_t pitchAndFamily = 0;
  std::u16string faceName;  // at most 31 units are stored

  std::array<uint8_t, kByteSize> Serialise() const;
  // False unless `length` is exactly kByteSize.
  static bool Deserialise(const uint8_t* data, size_t length, LogFont& out);

  bool operator==(const LogFont&) const = default;
};

}  // namespace platform
