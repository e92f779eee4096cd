#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "image/Bitmap.h"
#include "image/HuffmanTable.h"
#include "image/JpegHeader.h"
#include "image/JpegKernels.h"
#include "image/JpegSource.h"

namespace image {

// The baseline JPEG decoder: reads the headers of one picture and decodes its scan
// straight into an RGB565 bitmap at 1/1, 1/2, 1/4 or 1/8 size (levels 0 to 3).
// Errors are sticky: after the first one every call answers it and does nothing.
class JpegDecoder {
 public:
  static constexpr int kMaxLevel = 3;
  // How far the decoder looks for a restart marker that is due.
  static constexpr int kRestartSearch = 1536;

  explicit JpegDecoder(JpegSource& source);
  ~JpegDecoder();
  JpegDecoder(const JpegDecoder&) = delete;
  JpegDecoder& operator=(const JpegDecoder&) = delete;

  // Reads from the start of the input (or from `offset` into it) up to the scan.
  int32_t ReadHeaders(uint64_t offset = 0);
  const JpegHeader& Header() const { return header_; }
  // Decodes the scan at `level` into `out`, which is made at the reduced size.
  int32_t Decode(int level, Bitmap& out);
  int32_t Error() const { return error_; }
  // The inner loops to decode with (JpegKernels::Best() unless set).
  void SetKernels(const JpegKernels& kernels) { kernels_ = &kernels; }

  // The size of `size` pixels at a reduction level (rounded up, as the blocks give it).
  static uint32_t ReducedSize(uint32_t size, int level) {
    return static_cast<uint32_t>((uint64_t{size} + (uint64_t{1} << level) - 1) >> level);
  }

 private:
  struct State;
  struct ScanComponent;

  int32_t Fail(int32_t code);
  // Byte input over the source's pieces.
  bool NextPiece();
  int ReadByte();
  bool ReadBytes(uint8_t* dst, size_t n);
  bool Skip(size_t n);
  uint64_t Position() const;
  // Headers.
  int32_t FindStartOfImage();
  int NextMarker();
  int32_t ReadSegment(size_t& len);
  int32_t ReadFrame(int marker, const uint8_t* p, size_t len);
  int32_t ReadHuffmanTables(const uint8_t* p, size_t len);
  int32_t ReadQuantTables(const uint8_t* p, size_t len);
  int32_t ReadScanHeader(const uint8_t* p, size_t len);
  void ReadApp1(const uint8_t* p, size_t len, uint64_t payloadOffset);
  int32_t CheckLayout() const;
  int32_t CheckScan() const;
  // Entropy-coded data.
  [[gnu::noinline]] void RefillSlow();
  int32_t ProcessRestart();
  template <int kLevel>
  int32_t DecodeScan(Bitmap& out);
  template <int kLevel>
  bool DecodeBlock(ScanComponent& sc, uint8_t* out, int stride);
  template <int kLevel>
  bool DecodeChroma(ScanComponent& sc, uint8_t* out, bool larger);

  JpegSource& source_;
  const JpegKernels* kernels_ = &JpegKernels::Best();
  JpegHeader header_;
  std::unique_ptr<State> state_;
  int32_t error_ = 0;
  bool headersRead_ = false;

  const uint8_t* pieceBegin_ = nullptr;
  const uint8_t* cur_ = nullptr;
  const uint8_t* end_ = nullptr;
  uint64_t pieceStart_ = 0;
  int32_t sourceError_ = 0;
  bool pendingFF_ = false;

  uint64_t acc_ = 0;    // bits not yet used, from the top
  int bits_ = 0;        // how many bits of acc_ are valid
  int stuffed_ = 0;     // zero bits put in after the data ended or a marker came
  int marker_ = 0;      // marker met in the entropy-coded data, 0 when none
  bool ended_ = false;
  bool skipTables_ = false;  // the AC tables' Skip() is ready
};

}  // namespace image
