#pragma once

#include <cstdint>
#include <memory>

#include "net/Stream.h"

namespace net {

// The base64 text (as Base64 writes it) of a source stream, made as it is read: a
// request body carries a photo file this way without the photo's text ever being
// stored. Read-only; owns the source, reads it from its start and takes its size
// once, at construction. Bulk reads (ReadBytes) encode large pieces of the source
// straight into the reader's memory.
class Base64Stream : public Stream {
 public:
  // Source bytes read and encoded at a time: well inside a core's cache.
  static constexpr uint32_t kSourcePiece = 3 * 16384;

  // Null when memory for the piece is short or the source is over 3 GB.
  static std::unique_ptr<Base64Stream> Create(std::unique_ptr<Stream> source);

  uint32_t GetSize() override { return size_; }
  bool Seek(uint32_t position) override;
  bool ReadBlock(const uint8_t*& data, uint32_t& length) override;
  bool ReadByte(uint8_t& ch) override;
  bool PeekByte(uint8_t& ch) override;
  uint32_t GetPosition() override { return position_; }
  bool Write(const void* data, uint32_t length) override;
  bool GetWriteSpace(uint8_t*& data, uint32_t& length) override;
  bool CommitWrite(uint32_t length) override;
  bool ReadBytes(void* data, uint32_t capacity, uint32_t& length) override;

 private:
  Base64Stream(std::unique_ptr<Stream> source, std::unique_ptr<uint8_t[]> piece);
  // Reads the next `count` source bytes into the piece; false when they cannot all be read.
  bool Take(uint32_t count);
  // Encodes the next piece of the source, the final short group included, into
  // the text buffer; false at the end or when the source fails.
  bool FillText();
  bool HasText() const { return textStart_ < textEnd_; }

  std::unique_ptr<Stream> source_;
  std::unique_ptr<uint8_t[]> piece_;
  uint32_t sourceSize_ = 0;
  uint32_t taken_ = 0;     // source bytes encoded so far
  uint32_t size_ = 0;
  uint32_t position_ = 0;  // of the reader, in the text
  // Text encoded but not yet read: text_[textStart_, textEnd_) comes at position_.
  static constexpr uint32_t kTextCapacity = 4096;
  char text_[kTextCapacity];
  uint32_t textStart_ = 0;
  uint32_t textEnd_ = 0;
};

}  // namespace net
