#pragma once

#include <cstdint>
#include <memory>

#include "net/SmallStream.h"

namespace net {

// An in-memory stream on a heap block that grows in steps of 4096 bytes.
class Win32SmallStream : public SmallStream {
 public:
  static constexpr uint32_t kGrowStep = 4096;

  // An empty stream, or nullptr when memory is short.
  static std::unique_ptr<Win32SmallStream> Create();
  ~Win32SmallStream() override;

  // New capacity = max(required, capacity) rounded up to a multiple of 4096.
  bool Grow(uint32_t required) override;

 private:
  Win32SmallStream() = default;

  void* block_ = nullptr;  // the heap block behind data_
};

}  // namespace net
