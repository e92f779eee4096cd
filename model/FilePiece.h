#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

namespace model {

// A field read from a file that stays a piece of the file's bytes until it is
// first asked for; then, and whenever it is set, it holds a copy of its own. The
// object that holds the field keeps the file's bytes alive. Reading a large file
// thus copies nothing a user never looks at.
template <class Value>
class FilePiece {
 public:
  using Unit = typename Value::value_type;

  const Value& Get() const {
    if (piece_ != nullptr) {
      value_.assign(piece_, piece_ + size_);
      piece_ = nullptr;
      size_ = 0;
    }
    return value_;
  }
  void Set(Value value) {
    value_ = std::move(value);
    piece_ = nullptr;
    size_ = 0;
  }
  void Assign(const Unit* data, size_t size) {
    value_.assign(data, data + size);
    piece_ = nullptr;
    size_ = 0;
  }
  // Drops any piece and answers the field's own value, emptied, for filling.
  Value& Own() {
    value_.clear();
    piece_ = nullptr;
    size_ = 0;
    return value_;
  }
  // Refers to `size` bytes at `data`, which must live as long as the field's holder.
  void SetPiece(const Unit* data, uint32_t size) {
    value_.clear();
    piece_ = size != 0 ? data : nullptr;
    size_ = size;
  }
  // The bytes as they are, copied or not.
  const Unit* Data() const { return piece_ != nullptr ? piece_ : value_.data(); }
  size_t Size() const { return piece_ != nullptr ? size_ : value_.size(); }

 private:
  mutable Value value_;
  mutable const Unit* piece_ = nullptr;
  mutable uint32_t size_ = 0;
};

}  // namespace model
