#include "model/Archive.h"

#include <algorithm>
#include <cstring>

#include "model/CObject.h"
#include "model/RuntimeClass.h"
#include "platform/ErrorCodes.h"
#include "platform/TextConversion.h"

namespace model {

namespace {

// Class names in a class record must be shorter than this.
constexpr uint16_t kMaxClassNameLength = 64;
// Tag values of the format.
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kBigTag = 0x7FFF;
constexpr uint16_t kClassTagBit = 0x8000;
constexpr uint32_t kBigClassTagBit = 0x80000000u;
// String length markers.
constexpr uint16_t kWideMark = 0xFFFE;
constexpr uint16_t kWordEscape = 0xFFFF;
constexpr uint32_t kLongEscape = 0xFFFFFFFFu;
constexpr uint64_t kMaxHugeLength = uint64_t{1} << 31;

}  // namespace

Archive::Archive(Archive&&) noexcept = default;
Archive& Archive::operator=(Archive&&) noexcept = default;
Archive::~Archive() = default;

Archive Archive::ForWriting(Sink sink) {
  Archive ar;
  ar.storing_ = true;
  ar.sink_ = std::move(sink);
  ar.buffer_.reserve(kBufferSize);
  return ar;
}

Archive Archive::ForReading(const uint8_t* data, size_t len) {
  Archive ar;
  ar.pos_ = data;
  ar.end_ = data + len;
  ar.slots_.emplace_back();  // number 0 stands for no object
  return ar;
}

Archive Archive::ForReading(std::shared_ptr<const uint8_t[]> data, size_t len) {
  Archive ar = ForReading(data.get(), len);
  ar.shared_ = std::move(data);
  return ar;
}

void Archive::Fail(uint32_t code) {
  if (error_ == 0) error_ = code;
}

bool Archive::TakeNumber(uint32_t& number) {
  if (nextNumber_ > kMaxTagNumber) {
    Fail(platform::kErrInvalidData);
    return false;
  }
  number = nextNumber_++;
  return true;
}

// ---- Writing ----

void Archive::WriteBytes(const void* data, size_t len) {
  if (!Ok()) return;
  const uint8_t* p = static_cast<const uint8_t*>(data);
  while (len > 0) {
    if (buffer_.size() == kBufferSize && Flush() != 0) return;
    size_t n = std::min(len, kBufferSize - buffer_.size());
    buffer_.insert(buffer_.end(), p, p + n);
    p += n;
    len -= n;
  }
}

void Archive::WriteU8(uint8_t v) { WriteBytes(&v, 1); }

void Archive::WriteU16(uint16_t v) {
  uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
  WriteBytes(b, 2);
}

void Archive::WriteU32(uint32_t v) {
  uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                  static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
  WriteBytes(b, 4);
}

void Archive::WriteCount(uint32_t n) {
  if (n < kWordEscape) {
    WriteU16(static_cast<uint16_t>(n));
  } else {
    WriteU16(kWordEscape);
    WriteU32(n);
  }
}

void Archive::WriteStringLength(uint32_t len, bool wide) {
  if (wide) {
    WriteU8(kByteEscape);
    WriteU16(kWideMark);
  }
  if (len < kByteEscape) {
    WriteU8(static_cast<uint8_t>(len));
    return;
  }
  WriteU8(kByteEscape);
  if (len < kWideMark) {
    WriteU16(static_cast<uint16_t>(len));
  } else {
    WriteU16(kWordEscape);
    WriteU32(len);
  }
}

void Archive::WriteString(std::string_view s) {
  WriteStringLength(static_cast<uint32_t>(s.size()), false);
  WriteBytes(s.data(), s.size());
}

void Archive::WriteWString(const std::u16string& s) {
  WriteStringLength(static_cast<uint32_t>(s.size()), true);
  for (char16_t c : s) WriteU16(static_cast<uint16_t>(c));
}

void Archive::WriteTagNumber(uint32_t number, bool isClass) {
  if (number < kBigTag) {
    WriteU16(static_cast<uint16_t>(number | (isClass ? kClassTagBit : 0)));
  } else {
    WriteU16(kBigTag);
    WriteU32(number | (isClass ? kBigClassTagBit : 0));
  }
}

void Archive::WriteObject(CObject* obj) {
  if (obj == nullptr) {
    WriteU16(0);
    return;
  }
  auto known = written_tags_.find(obj);
  if (known != written_tags_.end()) {
    WriteTagNumber(known->second, false);
    return;
  }
  const RuntimeClass* cls = obj->GetRuntimeClass();
  auto knownClass = written_tags_.find(cls);
  if (knownClass != written_tags_.end()) {
    WriteTagNumber(knownClass->second, true);
  } else {
    uint32_t classNumber = 0;
    if (!TakeNumber(classNumber)) return;
    size_t nameLength = std::strlen(cls->name);
    WriteU16(kNewClassTag);
    WriteU16(cls->schema);
    WriteU16(static_cast<uint16_t>(nameLength));
    WriteBytes(cls->name, nameLength);
    written_tags_.emplace(cls, classNumber);
  }
  uint32_t objectNumber = 0;
  if (!TakeNumber(objectNumber)) return;
  written_tags_.emplace(obj, objectNumber);
  obj->Serialize(*this);
}

uint32_t Archive::Flush() {
  if (!Ok()) return error_;
  if (!buffer_.empty()) {
    uint32_t rc = sink_ ? sink_(buffer_.data(), buffer_.size()) : platform::kErrInvalidHandle;
    if (rc != 0) {
      Fail(rc);
      return rc;
    }
    written_ += buffer_.size();
    buffer_.clear();
  }
  return 0;
}

// ---- Reading ----

bool Archive::ReadBytes(std::vector<uint8_t>& out, uint32_t len) {
  if (!Need(len)) return false;
  out.assign(pos_, pos_ + len);
  pos_ += len;
  return true;
}

bool Archive::ReadPiece(uint32_t len, const uint8_t*& data) {
  if (!Need(len)) return false;
  data = pos_;
  pos_ += len;
  return true;
}

bool Archive::ReadCount(uint32_t& n) {
  uint16_t w = 0;
  if (!ReadU16(w)) return false;
  if (w != kWordEscape) {
    n = w;
    return true;
  }
  return ReadU32(n);
}

bool Archive::ReadStringLength(uint32_t& len, bool& wide) {
  wide = false;
  uint8_t b = 0;
  if (!ReadU8(b)) return false;
  if (b < kByteEscape) {
    len = b;
    return true;
  }
  uint16_t w = 0;
  if (!ReadU16(w)) return false;
  if (w == kWideMark) {
    wide = true;
    if (!ReadU8(b)) return false;
    if (b < kByteEscape) {
      len = b;
      return true;
    }
    if (!ReadU16(w)) return false;
  }
  if (w < kWordEscape) {
    len = w;
    return true;
  }
  uint32_t d = 0;
  if (!ReadU32(d)) return false;
  if (d != kLongEscape) {
    len = d;
    return true;
  }
  uint32_t low = 0;
  uint32_t high = 0;
  if (!ReadU32(low) || !ReadU32(high)) return false;
  uint64_t huge = (static_cast<uint64_t>(high) << 32) | low;
  if (huge >= kMaxHugeLength) {
    Fail(platform::kErrInvalidData);
    return false;
  }
  len = static_cast<uint32_t>(huge);
  return true;
}

bool Archive::ReadStringData(std::string_view& narrow, std::u16string& wideText, bool& wide) {
  uint32_t len = 0;
  if (!ReadStringLength(len, wide)) return false;
  uint64_t bytes = wide ? uint64_t{len} * 2 : len;
  if (bytes > BytesLeft()) {
    Fail(platform::kErrInvalidData);
    return false;
  }
  if (!Need(static_cast<size_t>(bytes))) return false;
  if (!wide) {
    narrow = std::string_view(reinterpret_cast<const char*>(pos_), len);
    pos_ += len;
    return true;
  }
  wideText.assign(len, u'\0');
  for (uint32_t i = 0; i < len; ++i) {
    wideText[i] = static_cast<char16_t>(pos_[0] | (pos_[1] << 8));
    pos_ += 2;
  }
  return true;
}

bool Archive::ReadStringPieceSlowly(std::string_view& piece, std::string& converted) {
  std::u16string wideText;
  bool wide = false;
  if (!ReadStringData(piece, wideText, wide)) return false;
  if (wide) {
    piece = std::string_view();
    converted = platform::Utf16ToUtf8(wideText);
  }
  return true;
}

bool Archive::ReadString(std::string& s) {
  std::string_view piece;
  if (!ReadStringPiece(piece, s)) return false;
  if (piece.data() != nullptr) s.assign(piece);
  return true;
}

bool Archive::ReadWString(std::u16string& s) {
  std::string_view narrow;
  bool wide = false;
  if (!ReadStringData(narrow, s, wide)) return false;
  if (!wide) s = platform::Utf8ToUtf16(narrow);
  return true;
}

std::unique_ptr<CObject> Archive::ReadNewObject(const RuntimeClass* expected) {
  uint16_t w = 0;
  if (!ReadU16(w)) return nullptr;
  const RuntimeClass* cls = nullptr;
  if (w == kNewClassTag) {
    uint16_t schema = 0;
    uint16_t nameLength = 0;
    if (!ReadU16(schema) || !ReadU16(nameLength)) return nullptr;
    if (nameLength >= kMaxClassNameLength || !Need(nameLength)) {
      Fail(platform::kErrInvalidData);
      return nullptr;
    }
    std::string_view name(reinterpret_cast<const char*>(pos_), nameLength);
    pos_ += nameLength;
    cls = FindRuntimeClass(name);
    uint32_t number = 0;
    if (cls == nullptr || schema != cls->schema || !TakeNumber(number)) {
      Fail(platform::kErrInvalidData);
      return nullptr;
    }
    slots_.push_back(Slot{cls, false});
  } else {
    uint32_t tag = 0;
    if (w == kBigTag) {
      if (!ReadU32(tag)) return nullptr;
    } else {
      tag = (w & 0x7FFFu) | ((w & kClassTagBit) ? kBigClassTagBit : 0);
    }
    uint32_t number = tag & ~kBigClassTagBit;
    // A null, a back-reference or an unknown number cannot be a new list member.
    if ((tag & kBigClassTagBit) == 0 || number == 0 || number >= slots_.size() ||
        slots_[number].cls == nullptr) {
      Fail(platform::kErrInvalidData);
      return nullptr;
    }
    cls = slots_[number].cls;
  }
  uint32_t objectNumber = 0;
  if (cls != expected || !TakeNumber(objectNumber)) {
    Fail(platform::kErrInvalidData);
    return nullptr;
  }
  slots_.push_back(Slot{nullptr, true});
  std::unique_ptr<CObject> obj = cls->create();
  obj->Serialize(*this);
  if (!Ok()) return nullptr;
  return obj;
}

}  // namespace model
