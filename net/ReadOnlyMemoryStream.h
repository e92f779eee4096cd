#pragma once

#include <cstdint>

#include "net/SmallStream.h"

namespace net {

// A read-only view over memory the stream does not own; it never grows and is
// never written to.
class ReadOnlyMemoryStream : public SmallStream {
 public:
  ReadOnlyMemoryStream(const void* data, uint32_t length);

  bool Write(const void* data, uint32_t length) override;
  bool GetWriteSpace(uint8_t*& data, uint32_t& length) override;
  bool CommitWrite(uint32_t length) override;
  bool Grow(uint32_t required) override;
};

}  // namespace net
