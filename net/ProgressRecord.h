#pragma once

#include <cstdint>

namespace net {

class HttpResponse;

// What a long operation tells its progress callback. A callback call without a
// record only asks whether to go on.
struct ProgressRecord {
  uint32_t code = 0;                 // 0 while working; a transport failure with stage 16
  HttpResponse* response = nullptr;  // the failed exchange's response, or none
  uint32_t stage = 0;                // stage of the work (its text comes from the string table)
  const char* text = nullptr;        // detail line, or none
  uint16_t number = 0;               // item being worked on (1-based), 0 for none
  uint16_t total = 0;
};

// Answers 0 to cancel, anything else to go on.
using ProgressCallback = int (*)(void* context, const ProgressRecord* record);

// The stage with which the transport reports its own failure.
inline constexpr uint32_t kStageTransportFailure = 16;

}  // namespace net
