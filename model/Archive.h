#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/ErrorCodes.h"

namespace model {

class CObject;
struct RuntimeClass;

// The archive format of the user file and the blog databases: little-endian
// primitives, counts, 8-bit and 16-bit strings with the wide mark, and object and
// class tags numbered from one shared counter. One archive object is one file's
// read or write. Reading works on bytes already in memory and trusts nothing:
// every length is checked against the bytes left before anything is allocated;
// the first violation fails the archive and every later read fails too.
class Archive {
 public:
  // Receives the written bytes in pieces of up to kBufferSize; answers a result code.
  using Sink = std::function<uint32_t(const uint8_t* data, size_t len)>;
  static constexpr size_t kBufferSize = 4096;
  // Highest object or class number an archive hands out.
  static constexpr uint32_t kMaxTagNumber = 0x3FFFFFFD;

  // An archive that writes to `sink` through a kBufferSize buffer.
  static Archive ForWriting(Sink sink);
  // An archive that reads `len` bytes at `data` (which must outlive it).
  static Archive ForReading(const uint8_t* data, size_t len);
  // An archive over bytes that the objects it reads may keep pieces of (ReadPiece).
  static Archive ForReading(std::shared_ptr<const uint8_t[]> data, size_t len);

  Archive(Archive&&) noexcept;
  Archive& operator=(Archive&&) noexcept;
  ~Archive();

  bool IsStoring() const { return storing_; }
  // False once a read or write has failed.
  bool Ok() const { return error_ == 0; }
  // The first failure: a sink result code, or kErrInvalidData for a bad archive.
  uint32_t Error() const { return error_; }
  void Fail(uint32_t code);

  // Writing. Failures are sticky; Flush hands the buffered bytes to the sink.
  void WriteU8(uint8_t v);
  void WriteU16(uint16_t v);
  void WriteU32(uint32_t v);
  void WriteBool(bool v) { WriteU8(v ? 1 : 0); }
  void WriteBytes(const void* data, size_t len);
  void WriteCount(uint32_t n);
  void WriteString(std::string_view s);         // 8-bit text
  void WriteWString(const std::u16string& s);   // 16-bit text with the wide mark
  // Writes the object's tag (class first when new) and, the first time, its fields.
  void WriteObject(CObject* obj);
  uint32_t Flush();

  // Reading. Each answers false (and fails the archive) when the bytes run out or
  // the data is invalid; the out-parameter is then unspecified.
  bool ReadU8(uint8_t& v) {
    if (!Need(1)) return false;
    v = *pos_++;
    return true;
  }
  bool ReadU16(uint16_t& v) {
    if (!Need(2)) return false;
    v = static_cast<uint16_t>(pos_[0] | (pos_[1] << 8));
    pos_ += 2;
    return true;
  }
  bool ReadU32(uint32_t& v) {
    if (!Need(4)) return false;
    v = static_cast<uint32_t>(pos_[0]) | (static_cast<uint32_t>(pos_[1]) << 8) |
        (static_cast<uint32_t>(pos_[2]) << 16) | (static_cast<uint32_t>(pos_[3]) << 24);
    pos_ += 4;
    return true;
  }
  // Any non-zero byte reads as true.
  bool ReadBool(bool& v) {
    uint8_t b = 0;
    if (!ReadU8(b)) return false;
    v = b != 0;
    return true;
  }
  bool ReadBytes(std::vector<uint8_t>& out, uint32_t len);
  // The shared bytes the archive reads, or null when it reads foreign memory.
  const std::shared_ptr<const uint8_t[]>& SharedBytes() const { return shared_; }
  // Points `data` at the next `len` bytes, which stay where they are, and moves past them.
  bool ReadPiece(uint32_t len, const uint8_t*& data);
  bool ReadCount(uint32_t& n);
  bool ReadString(std::string& s);
  // Reads 8-bit text as a view of the archive's bytes (`piece`), or 16-bit text
  // converted into `converted` (`piece` then has no data).
  bool ReadStringPiece(std::string_view& piece, std::string& converted) {
    // Most texts are 8-bit and shorter than 255 bytes: one length byte, then the text.
    if (Ok() && !storing_ && pos_ < end_ && *pos_ < kByteEscape && BytesLeft() > *pos_) {
      const size_t len = *pos_;
      piece = std::string_view(reinterpret_cast<const char*>(pos_ + 1), len);
      pos_ += 1 + len;
      return true;
    }
    return ReadStringPieceSlowly(piece, converted);
  }
  bool ReadWString(std::u16string& s);
  // Reads one object that must be new to this archive and of class `expected`;
  // answers it owned by the caller, or null after failing the archive. A null tag,
  // a back-reference or another class fails: every list owns its objects.
  std::unique_ptr<CObject> ReadNewObject(const RuntimeClass* expected);

  size_t BytesLeft() const { return end_ - pos_; }
  size_t BytesWritten() const { return written_ + buffer_.size(); }

 private:
  // A length byte of this value is followed by a longer length.
  static constexpr uint8_t kByteEscape = 0xFF;

  Archive() = default;
  // Reads a string length; `wide` tells which kind of text follows.
  bool ReadStringLength(uint32_t& len, bool& wide);
  // The bytes of one string: 8-bit text as a view into the buffer, or 16-bit text.
  bool ReadStringData(std::string_view& narrow, std::u16string& wideText, bool& wide);
  bool ReadStringPieceSlowly(std::string_view& piece, std::string& converted);
  void WriteStringLength(uint32_t len, bool wide);
  void WriteTagNumber(uint32_t number, bool isClass);
  bool TakeNumber(uint32_t& number);

  bool storing_ = false;
  uint32_t error_ = 0;
  uint32_t nextNumber_ = 1;

  // Writing state.
  Sink sink_;
  std::vector<uint8_t> buffer_;
  size_t written_ = 0;
  std::unordered_map<const void*, uint32_t> written_tags_;  // objects and classes

  // Whether `n` bytes can be read at the position; fails the archive when not.
  bool Need(size_t n) {
    if (Ok() && !storing_ && BytesLeft() >= n) return true;
    Fail(platform::kErrInvalidData);
    return false;
  }

  // Reading state: the bytes and what each number stands for (index = number).
  const uint8_t* pos_ = nullptr;
  const uint8_t* end_ = nullptr;
  std::shared_ptr<const uint8_t[]> shared_;
  struct Slot {
    const RuntimeClass* cls = nullptr;  // set for a class number
    bool isObject = false;
  };
  std::vector<Slot> slots_;
};

}  // namespace model
