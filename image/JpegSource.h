#pragma once

#include <cstddef>
#include <cstdint>

namespace image {

// Where the decoder's bytes come from. Input arrives in pieces of at most
// kBufferSize bytes from a file, or all at once from memory.
class JpegSource {
 public:
  static constexpr uint32_t kBufferSize = 0x9800;  // 38 912 bytes

  virtual ~JpegSource() = default;

  // Positions the source so that the next piece starts `offset` bytes into the input.
  virtual int32_t SeekTo(uint64_t offset) = 0;
  // The next piece: `data` and `len`, with `len` 0 at the end of the input. The bytes
  // stay valid until the next call.
  virtual int32_t Next(const uint8_t*& data, size_t& len) = 0;
  // Length of the whole input in bytes.
  virtual uint64_t Length() const = 0;
};

}  // namespace image
