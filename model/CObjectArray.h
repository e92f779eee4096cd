#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace model {

// An owning, growable list of model objects: emptying or destroying it deletes
// them. Positions outside the list are programming errors.
template <class T>
class CObjectArray {
 public:
  size_t Count() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  T* At(size_t index) const { return items_.at(index).get(); }
  T* First() const { return items_.empty() ? nullptr : items_.front().get(); }

  void InsertAt(size_t index, std::unique_ptr<T> obj) {
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), std::move(obj));
  }
  void Append(std::unique_ptr<T> obj) { items_.push_back(std::move(obj)); }
  // Takes the object at `index` out of the list and hands it to the caller.
  std::unique_ptr<T> RemoveAt(size_t index) {
    std::unique_ptr<T> obj = std::move(items_.at(index));
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    return obj;
  }
  void Clear() { items_.clear(); }
  // Position of `obj` or -1.
  long IndexOf(const T* obj) const {
    for (size_t i = 0; i < items_.size(); ++i) {
      if (items_[i].get() == obj) return static_cast<long>(i);
    }
    return -1;
  }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<std::unique_ptr<T>> items_;
};

}  // namespace model
