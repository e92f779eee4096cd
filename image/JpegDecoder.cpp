#include "image/JpegDecoder.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "image/ExifReader.h"
#include "image/JpegErrors.h"
#include "image/JpegIdct.h"
#include "image/JpegKernels.h"
#include "platform/ErrorCodes.h"

namespace image {

namespace {

// Natural (row-major) position of each zigzag index.
constexpr uint8_t kZigzag[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// Where a coefficient is stored for a reduction level, indexed by the zigzag position
// after it: its natural position when that level's transform reads it, else the
// scratch slot 64. Storing without a branch keeps the scattered pattern of used
// positions off the branch predictor. Positions past 64, which a run or an end of
// block reaches before the test that ends the block, also lead to the scratch slot.
constexpr int kScratch = 64;
constexpr int kStoreSize = 64 + HuffmanTable::kEndOfBlock;
struct StoreTable {
  uint8_t after[kStoreSize];
};
constexpr StoreTable MakeStoreTable(int level) {
  StoreTable t{};
  for (int next = 0; next < kStoreSize; ++next) {
    int k = next - 1;
    if (k < 0 || k >= 64) {
      t.after[next] = kScratch;
      continue;
    }
    int row = kZigzag[k] / 8, col = kZigzag[k] % 8;
    bool used = true;
    if (level == 1) used = row != 4 && col != 4;
    if (level == 2) used = (row == 0 || row % 2 == 1) && (col == 0 || col % 2 == 1);
    t.after[next] = static_cast<uint8_t>(used ? kZigzag[k] : kScratch);
  }
  return t;
}

constexpr int kStartOfImage = 0xD8;
constexpr int kEndOfImage = 0xD9;
constexpr int kStartOfScan = 0xDA;
constexpr int kDefineHuffman = 0xC4;
constexpr int kDefineArithmetic = 0xCC;
constexpr int kDefineQuant = 0xDB;
constexpr int kDefineRestart = 0xDD;
constexpr int kApp1 = 0xE1;
constexpr int kTem = 0x01;
constexpr int kJpg = 0xC8;
constexpr int kRst0 = 0xD0;
constexpr int kRst7 = 0xD7;
// How far past the first two bytes a start-of-image marker is looked for.
constexpr int kStartSearch = 511;

inline uint64_t LoadBigEndian64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return __builtin_bswap64(v);
}

// True when one of the 8 bytes is 0xFF.
inline bool HasFF(uint64_t w) {
  uint64_t x = ~w;
  return ((x - 0x0101010101010101ull) & ~x & 0x8080808080808080ull) != 0;
}

}  // namespace

struct JpegDecoder::ScanComponent {
  int frameIndex = 0;
  const HuffmanTable* dc = nullptr;
  const HuffmanTable* ac = nullptr;
  const int32_t* quant = nullptr;  // natural order
  int16_t pred = 0;
};

struct JpegDecoder::State {
  uint16_t quant[4][64] = {};  // zigzag order
  bool quantDefined[4] = {};
  alignas(32) int32_t quantNatural[4][64] = {};
  HuffmanTable huffman[8];     // DC 0-3, AC 4-7
  uint8_t segment[65536];
  ScanComponent scan[4];
  int scanCount = 0;
  alignas(32) int16_t coef[80] = {};  // quantised, natural order, then a scratch slot
  alignas(32) uint8_t planes[3][256];
};

JpegDecoder::JpegDecoder(JpegSource& source) : source_(source) {}

JpegDecoder::~JpegDecoder() = default;

int32_t JpegDecoder::Fail(int32_t code) {
  if (error_ == 0) error_ = code;
  return error_;
}

bool JpegDecoder::NextPiece() {
  pieceStart_ += static_cast<uint64_t>(end_ - pieceBegin_);
  pieceBegin_ = cur_ = end_ = nullptr;
  const uint8_t* data = nullptr;
  size_t len = 0;
  int32_t rc = source_.Next(data, len);
  if (rc != 0) {
    sourceError_ = rc;
    return false;
  }
  if (len == 0) return false;
  pieceBegin_ = cur_ = data;
  end_ = data + len;
  return true;
}

int JpegDecoder::ReadByte() {
  if (cur_ == end_ && !NextPiece()) return -1;
  return *cur_++;
}

bool JpegDecoder::ReadBytes(uint8_t* dst, size_t n) {
  while (n > 0) {
    if (cur_ == end_ && !NextPiece()) return false;
    size_t take = std::min(n, static_cast<size_t>(end_ - cur_));
    std::memcpy(dst, cur_, take);
    dst += take;
    cur_ += take;
    n -= take;
  }
  return true;
}

bool JpegDecoder::Skip(size_t n) {
  while (n > 0) {
    if (cur_ == end_ && !NextPiece()) return false;
    size_t take = std::min(n, static_cast<size_t>(end_ - cur_));
    cur_ += take;
    n -= take;
  }
  return true;
}

uint64_t JpegDecoder::Position() const { return pieceStart_ + static_cast<uint64_t>(cur_ - pieceBegin_); }

int32_t JpegDecoder::FindStartOfImage() {
  int prev = ReadByte();
  int b = ReadByte();
  if (prev == 0xFF && b == kStartOfImage) return 0;
  for (int budget = kStartSearch; budget > 0 && b >= 0; --budget) {
    prev = b;
    b = ReadByte();
    if (prev == 0xFF && b == kStartOfImage && budget > 1) {
      --budget;
      b = ReadByte();
      if (b == 0xFF) {
        pendingFF_ = true;
        return 0;
      }
    }
  }
  return sourceError_ != 0 ? sourceError_ : kJpegErrNotJpeg;
}

// The next marker code, skipping bytes up to an 0xFF and fill bytes; -1 at the end.
int JpegDecoder::NextMarker() {
  for (;;) {
    int b;
    if (!pendingFF_) {
      do {
        b = ReadByte();
        if (b < 0) return -1;
      } while (b != 0xFF);
    }
    pendingFF_ = false;
    do {
      b = ReadByte();
      if (b < 0) return -1;
    } while (b == 0xFF);
    if (b != 0) return b;
  }
}

// Reads a segment's length and its bytes into the state's segment buffer.
int32_t JpegDecoder::ReadSegment(size_t& len) {
  int hi = ReadByte();
  int lo = ReadByte();
  if (lo < 0) return kJpegErrUnexpectedMarker;
  size_t total = static_cast<size_t>(hi << 8 | lo);
  len = total < 2 ? 0 : total - 2;
  if (total < 2) return kJpegErrSegmentLength;
  if (!ReadBytes(state_->segment, len)) return kJpegErrUnexpectedMarker;
  return 0;
}

int32_t JpegDecoder::ReadHeaders(uint64_t offset) {
  if (error_ != 0) return error_;
  state_.reset(new (std::nothrow) State);
  if (!state_) return Fail(static_cast<int32_t>(platform::kErrNotEnoughMemory));
  header_ = JpegHeader{};
  pieceBegin_ = cur_ = end_ = nullptr;
  pieceStart_ = offset;
  pendingFF_ = false;
  if (int32_t rc = source_.SeekTo(offset); rc != 0) return Fail(rc);
  if (int32_t rc = FindStartOfImage(); rc != 0) return Fail(rc);

  bool exifSeen = false;
  for (;;) {
    int marker = NextMarker();
    if (marker < 0) return Fail(sourceError_ != 0 ? sourceError_ : kJpegErrUnexpectedMarker);
    if (marker == kTem || marker == kJpg || (marker >= kRst0 && marker <= kRst7) || marker == kStartOfImage ||
        marker == kEndOfImage) {
      return Fail(kJpegErrUnexpectedMarker);
    }
    if (marker == kDefineArithmetic) return Fail(kJpegErrArithmetic);

    bool isFrame = marker >= 0xC0 && marker <= 0xCF && marker != kDefineHuffman;
    if (isFrame && header_.frameMarker != 0) return Fail(kJpegErrUnexpectedMarker);
    if (marker == kStartOfScan && header_.frameMarker == 0) return Fail(kJpegErrNoFrame);

    uint64_t payloadOffset = Position() + 2;
    size_t len = 0;
    if (int32_t rc = ReadSegment(len); rc != 0) {
      if (rc == kJpegErrSegmentLength) {
        if (marker == kDefineQuant) rc = kJpegErrQuantSegment;
        if (marker == kDefineRestart) rc = kJpegErrRestartLength;
        if (marker == kStartOfScan) rc = kJpegErrScanHeader;
        if (marker == kDefineHuffman) rc = kJpegErrHuffmanLength;
        if (isFrame) rc = kJpegErrFrameLength;
      }
      return Fail(sourceError_ != 0 ? sourceError_ : rc);
    }
    const uint8_t* p = state_->segment;
    int32_t rc = 0;
    if (isFrame) {
      rc = ReadFrame(marker, p, len);
      if (rc == 0) rc = CheckLayout();
    } else if (marker == kDefineHuffman) {
      rc = ReadHuffmanTables(p, len);
    } else if (marker == kDefineQuant) {
      rc = ReadQuantTables(p, len);
    } else if (marker == kDefineRestart) {
      if (len != 2) rc = kJpegErrRestartLength;
      else header_.restartInterval = static_cast<uint16_t>(p[0] << 8 | p[1]);
    } else if (marker == kApp1) {
      if (!exifSeen && len >= 6 && std::memcmp(p, "Exif\0\0", 6) == 0) {
        exifSeen = true;
        ReadApp1(p + 6, len - 6, payloadOffset + 6);
      }
    } else if (marker == kStartOfScan) {
      rc = ReadScanHeader(p, len);
      if (rc == 0) rc = CheckScan();
      if (rc == 0) {
        headersRead_ = true;
        return 0;
      }
    }
    if (rc != 0) return Fail(rc);
  }
}

int32_t JpegDecoder::ReadFrame(int marker, const uint8_t* p, size_t len) {
  bool sequential = marker == 0xC0 || marker == 0xC1;
  header_.frameMarker = static_cast<uint8_t>(marker);
  header_.progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
  if (marker == 0xC2) {
    // Not decodable, but its size and components are still worth telling.
    if (len >= 6) {
      header_.height = static_cast<uint32_t>(p[1] << 8 | p[2]);
      header_.width = static_cast<uint32_t>(p[3] << 8 | p[4]);
      int count = p[5];
      if (count <= 4 && len == 6 + 3 * static_cast<size_t>(count)) {
        header_.componentCount = static_cast<uint8_t>(count);
        for (int i = 0; i < count; ++i) {
          header_.components[i].id = p[6 + 3 * i];
          header_.components[i].h = p[7 + 3 * i] >> 4;
          header_.components[i].v = p[7 + 3 * i] & 15;
        }
      }
    }
    return kJpegErrProgressive;
  }
  if (marker == 0xC9) return kJpegErrArithmetic;
  if (!sequential) return kJpegErrFrameType;
  if (len < 6) return kJpegErrFrameLength;
  if (p[0] != 8) return kJpegErrPrecision;
  header_.height = static_cast<uint32_t>(p[1] << 8 | p[2]);
  header_.width = static_cast<uint32_t>(p[3] << 8 | p[4]);
  int count = p[5];
  if (count > 4) return kJpegErrComponentCount;
  if (len != 6 + 3 * static_cast<size_t>(count)) return kJpegErrFrameLength;
  header_.componentCount = static_cast<uint8_t>(count);
  for (int i = 0; i < count; ++i) {
    JpegComponent& c = header_.components[i];
    c.id = p[6 + 3 * i];
    c.h = p[7 + 3 * i] >> 4;
    c.v = p[7 + 3 * i] & 15;
    c.quantTable = p[8 + 3 * i];
  }
  return 0;
}

int32_t JpegDecoder::CheckLayout() const {
  const JpegHeader& h = header_;
  if (h.componentCount != 1 && h.componentCount != 3) return kJpegErrComponents;
  for (int i = 0; i < h.componentCount; ++i) {
    const JpegComponent& c = h.components[i];
    if (c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4) return kJpegErrEmptyFrame;
  }
  if (h.componentCount == 3) {
    const JpegComponent* c = h.components.data();
    if (c[1].h != 1 || c[1].v != 1 || c[2].h != 1 || c[2].v != 1) return kJpegErrSampling;
    if (c[0].h > 2 || c[0].v > 2) return kJpegErrSampling;
  }
  return 0;
}

int32_t JpegDecoder::ReadHuffmanTables(const uint8_t* p, size_t len) {
  size_t at = 0;
  while (at < len) {
    if (len - at < 17) return kJpegErrHuffmanLength;
    int cls = p[at] >> 4;
    int id = p[at] & 15;
    if (cls > 1 || id > 3) return kJpegErrHuffmanId;
    int total = 0;
    for (int i = 0; i < 16; ++i) total += p[at + 1 + i];
    if (total >= 256) return kJpegErrHuffmanCounts;
    if (len - at - 17 < static_cast<size_t>(total)) return kJpegErrHuffmanLength;
    auto tableClass = cls == 0 ? HuffmanTable::Class::Dc : HuffmanTable::Class::Ac;
    if (!state_->huffman[id + 4 * cls].Build(tableClass, p + at + 1, p + at + 17, total)) {
      return kJpegErrHuffmanCounts;
    }
    at += 17 + static_cast<size_t>(total);
  }
  return 0;
}

int32_t JpegDecoder::ReadQuantTables(const uint8_t* p, size_t len) {
  size_t at = 0;
  while (at < len) {
    int precision = p[at] >> 4;
    int id = p[at] & 15;
    if (id > 3 || precision > 1) return kJpegErrQuantId;
    size_t size = precision == 0 ? 64 : 128;
    if (len - at - 1 < size) return kJpegErrQuantLength;
    for (int k = 0; k < 64; ++k) {
      state_->quant[id][k] = precision == 0 ? p[at + 1 + k]
                                            : static_cast<uint16_t>(p[at + 1 + 2 * k] << 8 | p[at + 2 + 2 * k]);
    }
    state_->quantDefined[id] = true;
    at += 1 + size;
  }
  return 0;
}

int32_t JpegDecoder::ReadScanHeader(const uint8_t* p, size_t len) {
  if (len < 1) return kJpegErrScanHeader;
  int count = p[0];
  if (count < 1 || count > 4 || len != 4 + 2 * static_cast<size_t>(count)) return kJpegErrScanHeader;
  State& s = *state_;
  s.scanCount = count;
  for (int i = 0; i < count; ++i) {
    int id = p[1 + 2 * i];
    int tables = p[2 + 2 * i];
    int found = -1;
    for (int c = 0; c < header_.componentCount && found < 0; ++c) {
      if (header_.components[c].id == id) found = c;
    }
    if (found < 0) return kJpegErrScanComponent;
    for (int j = 0; j < i; ++j) {
      if (s.scan[j].frameIndex == found) return kJpegErrScanComponent;
    }
    JpegComponent& c = header_.components[found];
    c.dcTable = static_cast<uint8_t>(tables >> 4);
    c.acTable = static_cast<uint8_t>(tables & 15);
    s.scan[i] = ScanComponent{};
    s.scan[i].frameIndex = found;
  }
  return 0;
}

int32_t JpegDecoder::CheckScan() const {
  const State& s = *state_;
  // Every component in one interleaved scan: the only layout a single pass can draw.
  if (s.scanCount != header_.componentCount) return kJpegErrScanHeader;
  for (int i = 0; i < header_.componentCount; ++i) {
    const JpegComponent& c = header_.components[i];
    if (c.quantTable > 3 || !s.quantDefined[c.quantTable]) return kJpegErrMissingTable;
    if (c.dcTable > 3 || !s.huffman[c.dcTable].Defined()) return kJpegErrMissingTable;
    if (c.acTable > 3 || !s.huffman[4 + c.acTable].Defined()) return kJpegErrMissingTable;
  }
  return 0;
}

void JpegDecoder::ReadApp1(const uint8_t* p, size_t len, uint64_t payloadOffset) {
  ExifReader::Parse(p, len, payloadOffset, header_.exif);
}

// Entropy-coded data ------------------------------------------------------------

void JpegDecoder::RefillSlow() {
  while (bits_ < 56) {
    int b = 0;
    if (marker_ == 0 && !ended_) {
      b = ReadByte();
      if (b < 0) {
        ended_ = true;
        b = 0;
      } else if (b == 0xFF) {
        int next;
        do {
          next = ReadByte();
        } while (next == 0xFF);
        if (next < 0) {
          ended_ = true;
          b = 0;
        } else if (next != 0) {
          marker_ = next;
          b = 0;
        }
      }
    }
    if (marker_ != 0 || ended_) stuffed_ += 8;
    acc_ |= static_cast<uint64_t>(b) << (56 - bits_);
    bits_ += 8;
  }
}

int32_t JpegDecoder::ProcessRestart() {
  if (stuffed_ > bits_) return kJpegErrTruncated;
  acc_ = 0;
  bits_ = 0;
  stuffed_ = 0;
  for (int i = 0; i < state_->scanCount; ++i) state_->scan[i].pred = 0;
  if (marker_ != 0) {
    int m = marker_;
    marker_ = 0;
    return m >= kRst0 && m <= kRst7 ? 0 : kJpegErrRestartMarker;
  }
  if (ended_) return kJpegErrRestartMarker;
  for (int looked = 0; looked < kRestartSearch; ++looked) {
    int b = ReadByte();
    if (b < 0) break;
    if (b != 0xFF) continue;
    int next;
    do {
      next = ReadByte();
    } while (next == 0xFF);
    if (next < 0) break;
    if (next == 0) continue;
    return next >= kRst0 && next <= kRst7 ? 0 : kJpegErrRestartMarker;
  }
  return kJpegErrRestartMarker;
}

// The bit buffer and input cursor live in locals here, so that they stay in
// registers; they go back to the members around the slow refill and at the end.
template <int kLevel>
bool JpegDecoder::DecodeBlock(ScanComponent& sc, uint8_t* out, int stride) {
  static constexpr StoreTable kStore = MakeStoreTable(kLevel);
  uint64_t acc = acc_;
  int bits = bits_;
  const uint8_t* cur = cur_;
  // Whole 8-byte words of data may be read while cur is below this.
  auto wordsUpTo = [this](const uint8_t* from) { return marker_ == 0 && end_ - from >= 8 ? end_ - 7 : from; };
  const uint8_t* wordsEnd = wordsUpTo(cur);
  // Tops the buffer up to 56 to 63 bits; every symbol starts with it, which costs less
  // than a hard-to-predict test of how many bits are left.
  auto refill = [&] {
    if (cur < wordsEnd) {
      uint64_t w = LoadBigEndian64(cur);
      if (!HasFF(w)) {
        // The bytes past the ones taken are real data too, so the bits of them that
        // enter the buffer now are the same ones the next refill puts there.
        acc |= w >> bits;
        cur += (63 - bits) >> 3;
        bits |= 56;
        return;
      }
    }
    acc_ = acc;
    bits_ = bits;
    cur_ = cur;
    RefillSlow();
    acc = acc_;
    bits = bits_;
    cur = cur_;
    wordsEnd = wordsUpTo(cur);
  };
  auto consume = [&](int n) {
    acc <<= n;
    bits -= n;
  };
  auto save = [&] {
    acc_ = acc;
    bits_ = bits;
    cur_ = cur;
  };
  // Takes the next symbol with its extra bits and answers it as HuffmanTable::Fast()
  // gives it; 0 for a code the table lacks. Needs kLookupBits valid bits; a longer
  // symbol tops the buffer up before and after itself.
  auto take = [&](const HuffmanTable& table) {
    int32_t e = table.Fast(static_cast<uint32_t>(acc >> (64 - HuffmanTable::kLookupBits)));
    if (e != 0) {
      consume(e & 0xFF);
      return e;
    }
    refill();
    e = table.Slow(acc);
    if (e == 0) return 0;
    consume(e & 0xFF);
    refill();
    return e;
  };

  refill();
  int32_t e = take(*sc.dc);
  if (e == 0) return false;
  sc.pred = static_cast<int16_t>(sc.pred + (e >> 16));
  const HuffmanTable& ac = *sc.ac;

  // k is the zigzag position after the last symbol. Once it reaches 64 the block has
  // ended: exactly at 64 with its last coefficient, at kEndOfBlock or more with an end
  // of block, and anywhere between with a coefficient or run past position 63, which
  // fails the block.
  int k = 1;
  auto ended = [&k] { return k == 64 || k > HuffmanTable::kEndOfBlock; };
  constexpr int kFailed = 65;
  // Each group of symbols below starts with at least 56 bits in the buffer, enough for
  // four lookups of up to 12 bits.
  if constexpr (kLevel == 3) {
    // Each passes over one symbol, or some; false once the block has ended or failed.
    auto one = [&] {
      int32_t e = take(ac);
      k = e == 0 ? kFailed : k + ((e >> 8) & 0xFF);
      return k < 64;
    };
    auto some = [&] {
      uint32_t m = ac.Skip(static_cast<uint32_t>(acc >> (64 - HuffmanTable::kSkipBits)));
      if (static_cast<int>(m >> 16) < k) return one();
      consume(static_cast<int>(m & 0xFF));
      k += static_cast<int>((m >> 8) & 0xFF);
      return k < 64;
    };
    if (skipTables_) {
      do {
        refill();
      } while (some() && some() && some() && some());
    } else {
      do {
        refill();
      } while (one() && one() && one() && one());
    }
    if (!ended()) return false;
    save();
    *out = JpegIdct::DcSample(int32_t{sc.pred} * sc.quant[0]);
    return true;
  } else {
    int16_t* coef = state_->coef;
    coef[0] = sc.pred;
    // Stores one coefficient; false once the block has ended or failed.
    auto next = [&] {
      int32_t one = take(ac);
      if (one == 0) {
        k = kFailed;
        return false;
      }
      k += (one >> 8) & 0xFF;
      coef[kStore.after[k]] = static_cast<int16_t>(one >> 16);
      return k < 64;
    };
    do {
      refill();
    } while (next() && next() && next() && next());
    if (!ended()) return false;
    save();
    if (k == HuffmanTable::kEndOfBlock + 1) {
      // Only the DC coefficient: a flat block, as the transforms would give it.
      JpegIdct::FillDc(int32_t{sc.pred} * sc.quant[0], out, stride, 8 >> kLevel);
      coef[0] = 0;
      return true;
    }
    if constexpr (kLevel == 0) kernels_->full(coef, sc.quant, out, stride);
    if constexpr (kLevel == 1) kernels_->half(coef, sc.quant, out, stride);
    if constexpr (kLevel == 2) kernels_->quarter(coef, sc.quant, out, stride);
    return true;
  }
}

template <int kLevel>
bool JpegDecoder::DecodeChroma(ScanComponent& sc, uint8_t* out, bool larger) {
  constexpr int kChromaStride = 8;
  if constexpr (kLevel > 0) {
    if (larger) return DecodeBlock<kLevel - 1>(sc, out, kChromaStride);
  }
  return DecodeBlock<kLevel>(sc, out, kChromaStride);
}

int32_t JpegDecoder::Decode(int level, Bitmap& out) {
  if (error_ != 0) return error_;
  if (!headersRead_ || level < 0 || level > kMaxLevel) return Fail(kJpegErrUnexpectedMarker);
  const JpegHeader& h = header_;
  if (h.width == 0 || h.height == 0) return Fail(kJpegErrEmptyFrame);

  int hMax = h.componentCount == 3 ? h.components[0].h : 1;
  int vMax = h.componentCount == 3 ? h.components[0].v : 1;
  uint64_t mcusX = (h.width + 8u * hMax - 1) / (8u * hMax);
  uint64_t mcusY = (h.height + 8u * vMax - 1) / (8u * vMax);
  uint64_t blocksPerMcu = h.componentCount == 3 ? static_cast<uint64_t>(hMax * vMax + 2) : 1;
  // Every block takes at least 2 bits (a DC code and an end-of-block code), so the
  // rest of the input bounds how many blocks a picture can really have.
  uint64_t remaining = source_.Length() > Position() ? source_.Length() - Position() : 0;
  if (mcusX * mcusY * blocksPerMcu > 4 * remaining + 4) return Fail(kJpegErrTooLarge);
  uint32_t outW = ReducedSize(h.width, level);
  uint32_t outH = ReducedSize(h.height, level);
  if (uint64_t{outW} * outH > Bitmap::kMaxPixels) return Fail(kJpegErrTooLarge);
  if (int32_t rc = out.Allocate(outW, outH); rc != 0) return Fail(rc);

  State& s = *state_;
  // Tables for passing over several symbols at once pay for themselves only on
  // pictures of more blocks than they have entries.
  skipTables_ = level == kMaxLevel && mcusX * mcusY * blocksPerMcu >= HuffmanTable::kSkipSize;
  for (int i = 0; i < s.scanCount; ++i) {
    ScanComponent& sc = s.scan[i];
    const JpegComponent& c = h.components[sc.frameIndex];
    sc.dc = &s.huffman[c.dcTable];
    sc.ac = &s.huffman[4 + c.acTable];
    int32_t* natural = s.quantNatural[c.quantTable];
    for (int k = 0; k < 64; ++k) natural[kZigzag[k]] = s.quant[c.quantTable][k];
    sc.quant = natural;
    sc.pred = 0;
    if (skipTables_) s.huffman[4 + c.acTable].BuildSkip();
  }
  acc_ = 0;
  bits_ = 0;
  stuffed_ = 0;
  marker_ = 0;
  ended_ = false;
  switch (level) {
    case 0: return Fail(DecodeScan<0>(out));
    case 1: return Fail(DecodeScan<1>(out));
    case 2: return Fail(DecodeScan<2>(out));
    default: return Fail(DecodeScan<3>(out));
  }
}

template <int kLevel>
int32_t JpegDecoder::DecodeScan(Bitmap& out) {
  constexpr int kSize = 8 >> kLevel;
  constexpr int kLumaStride = 16;
  constexpr int kChromaStride = 8;
  const JpegHeader& h = header_;
  State& s = *state_;
  const JpegKernels& k = *kernels_;
  bool colour = h.componentCount == 3;
  int hMax = colour ? h.components[0].h : 1;
  int vMax = colour ? h.components[0].v : 1;
  int mcuW = kSize * hMax;
  int mcuH = kSize * vMax;
  uint32_t mcusX = (h.width + 8u * hMax - 1) / (8u * hMax);
  uint32_t mcusY = (h.height + 8u * vMax - 1) / (8u * vMax);
  int outW = static_cast<int>(out.Width());
  int outH = static_cast<int>(out.Height());
  ptrdiff_t stride = out.Stride();
  uint32_t interval = h.restartInterval;
  uint32_t untilRestart = interval;
  // With chroma halved both ways, a reduced picture takes its chroma from the next
  // larger transform, which gives it at the luma's resolution.
  bool chromaLarger = kLevel > 0 && hMax == 2 && vMax == 2;

  for (uint32_t my = 0; my < mcusY; ++my) {
    int y0 = static_cast<int>(my) * mcuH;
    int rows = std::min(mcuH, outH - y0);
    for (uint32_t mx = 0; mx < mcusX; ++mx) {
      if (interval != 0) {
        if (untilRestart == 0) {
          if (int32_t rc = ProcessRestart(); rc != 0) return rc;
          untilRestart = interval;
        }
        --untilRestart;
      }
      for (int i = 0; i < s.scanCount; ++i) {
        ScanComponent& sc = s.scan[i];
        uint8_t* plane = s.planes[sc.frameIndex];
        if (sc.frameIndex == 0) {
          int bh = colour ? hMax : 1;
          int bv = colour ? vMax : 1;
          int planeStride = colour ? kLumaStride : kSize;
          for (int v = 0; v < bv; ++v) {
            for (int u = 0; u < bh; ++u) {
              if (!DecodeBlock<kLevel>(sc, plane + v * kSize * planeStride + u * kSize, planeStride)) {
                return kJpegErrBadCode;
              }
            }
          }
        } else if (!DecodeChroma<kLevel>(sc, plane, chromaLarger)) {
          return kJpegErrBadCode;
        }
      }
      if (stuffed_ > bits_) return kJpegErrTruncated;

      int x0 = static_cast<int>(mx) * mcuW;
      int cols = std::min(mcuW, outW - x0);
      uint16_t* dst = out.Row(static_cast<uint32_t>(y0)) + x0;
      const uint8_t* yp = s.planes[0];
      const uint8_t* cb = s.planes[1];
      const uint8_t* cr = s.planes[2];
      if (!colour) {
        k.grey(yp, kSize, cb, cr, kChromaStride, dst, stride, cols, rows);
      } else if ((hMax == 1 && vMax == 1) || chromaLarger) {
        k.ycc11(yp, kLumaStride, cb, cr, kChromaStride, dst, stride, cols, rows);
      } else if (hMax == 2 && vMax == 1) {
        k.ycc21(yp, kLumaStride, cb, cr, kChromaStride, dst, stride, cols, rows);
      } else if (hMax == 1) {
        k.ycc12(yp, kLumaStride, cb, cr, kChromaStride, dst, stride, cols, rows);
      } else {
        k.ycc22(yp, kLumaStride, cb, cr, kChromaStride, dst, stride, cols, rows);
      }
    }
  }
  return 0;
}

}  // namespace image
