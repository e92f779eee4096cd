#include "platform/LogFont.h"

namespace platform {
namespace {

void PutInt(uint8_t*& p, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) *p++ = static_cast<uint8_t>(u >> (8 * i));
}

int32_t GetInt(const uint8_t*& p) {
  uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(*p++) << (8 * i);
  return static_cast<int32_t>(u);
}

}  // namespace

std::array<uint8_t, LogFont::kByteSize> LogFont::Serialise() const {
  std::array<uint8_t, kByteSize> out{};
  uint8_t* p = out.data();
  for (int32_t v : {height, width, escapement, orientation, weight}) PutInt(p, v);
  for (uint8_t b : {italic, underline, strikeOut, charSet, outPrecision, clipPrecision, quality, pitchAndFamily}) {
    *p++ = b;
  }
  for (size_t i = 0; i < faceName.size() && i + 1 < kFaceNameUnits; ++i) {
    p[2 * i] = static_cast<uint8_t>(faceName[i] & 0xFF);
    p[2 * i + 1] = static_cast<uint8_t>(faceName[i] >> 8);
  }
  return out;
}

bool LogFont::Deserialise(const uint8_t* data, size_t length, LogFont& out) {
  if (data == nullptr || length != kByteSize) return false;
  const uint8_t* p = data;
  LogFont f;
  for (int32_t* v : {&f.height, &f.width, &f.escapement, &f.orientation, &f.weight}) *v = GetInt(p);
  for (uint8_t* b : {&f.italic, &f.underline, &f.strikeOut, &f.charSet, &f.outPrecision, &f.clipPrecision,
                     &f.quality, &f.pitchAndFamily}) {
    *b = *p++;
  }
  // The face name ends at its zero, or at the end of the field when a writer left none.
  for (size_t i = 0; i < kFaceNameUnits; ++i) {
    const auto c = static_cast<char16_t>(p[2 * i] | p[2 * i + 1] << 8);
    if (c == 0) break;
    f.faceName.push_back(c);
  }
  out = std::move(f);
  return true;
}

}  // namespace platform
