// The HTTP front's reading of request heads and chunked bodies under arbitrary
// input: the head found and parsed, the rest taken as a chunked body, whole and
// in two pieces split where the first byte says.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "server/ChunkedDecoder.h"
#include "server/RequestHead.h"

namespace {

constexpr size_t kLimit = 4096;

server::ChunkedDecoder::Result Decode(std::string_view wire, size_t split, std::string& body, size_t& used) {
  server::ChunkedDecoder decoder(kLimit);
  size_t first = 0;
  server::ChunkedDecoder::Result result = decoder.Feed(wire.substr(0, split), body, first);
  used = first;
  if (result == server::ChunkedDecoder::Result::kMore && split < wire.size()) {
    size_t second = 0;
    result = decoder.Feed(wire.substr(split), body, second);
    used = split + second;
  }
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  size_t headLength = 0;
  size_t total = 0;
  std::string_view wire = input;
  if (server::RequestHead::FindEnd(input, headLength, total)) {
    if (headLength > total || total > input.size()) std::abort();
    server::RequestHead head;
    if (server::RequestHead::Parse(input.substr(0, headLength), head) == 0) {
      std::string forwarded = head.Forwarded();
      server::RequestHead again;
      // What is handed on reads back the same, without any framing.
      if (server::RequestHead::Parse(forwarded, again) != 0 || again.target != head.target ||
          again.framing != server::RequestHead::Framing::kNone) {
        std::abort();
      }
    }
    wire = input.substr(total);
  }
  std::string whole;
  std::string pieces;
  size_t usedWhole = 0;
  size_t usedPieces = 0;
  auto result = Decode(wire, wire.size(), whole, usedWhole);
  auto split = Decode(wire, data[0] % (wire.size() + 1), pieces, usedPieces);
  if (whole.size() > kLimit || result != split) std::abort();
  if (result == server::ChunkedDecoder::Result::kDone && (whole != pieces || usedWhole != usedPieces)) std::abort();
  return 0;
}
