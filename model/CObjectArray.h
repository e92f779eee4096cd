#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

#include "model/IdIndex.h"
#include "model/ListMembership.h"

namespace model {

// Model objects that a list keeps an index by id for.
template <class T>
concept IdentifiedObject = requires(T& object, const T& constObject) {
  { object.Membership() } -> std::same_as<ListMembership&>;
  { constObject.GetId() } -> std::convertible_to<uint32_t>;
};

template <class T>
class CObjectArray;

// One place of a list, holding the object the list owns; a plain pointer, so that
// inserting into a long list moves its places as one block of memory.
template <class T>
class ObjectSlot {
 public:
  T* get() const { return object_; }
  T* operator->() const { return object_; }
  T& operator*() const { return *object_; }

 private:
  friend class CObjectArray<T>;
  explicit ObjectSlot(T* object) : object_(object) {}
  T* object_;
};

// An owning, growable list of model objects: emptying or destroying it deletes
// them. Positions outside the list are programming errors. Lists of entries,
// categories and comments also find their objects by id without walking.
template <class T>
class CObjectArray {
 public:
  static constexpr bool kIndexed = IdentifiedObject<T>;

  CObjectArray() {
    if constexpr (kIndexed) index_ = std::make_unique<IdIndex>();
  }
  CObjectArray(const CObjectArray&) = delete;
  CObjectArray& operator=(const CObjectArray&) = delete;
  CObjectArray(CObjectArray&& other) noexcept
      : items_(std::move(other.items_)), index_(std::move(other.index_)) {
    other.items_.clear();
  }
  CObjectArray& operator=(CObjectArray&& other) noexcept {
    if (this != &other) {
      Clear();
      items_ = std::move(other.items_);
      index_ = std::move(other.index_);
      other.items_.clear();
    }
    return *this;
  }
  ~CObjectArray() { Clear(); }

  size_t Count() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  T* At(size_t index) const { return items_.at(index).get(); }
  T* First() const { return items_.empty() ? nullptr : items_.front().get(); }

  void InsertAt(size_t index, std::unique_ptr<T> obj) {
    if (index > items_.size()) throw std::out_of_range("CObjectArray::InsertAt");
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), ObjectSlot<T>(obj.get()));
    TakeIn(*obj.release());
  }
  void Append(std::unique_ptr<T> obj) {
    items_.push_back(ObjectSlot<T>(obj.get()));
    TakeIn(*obj.release());
  }
  // Takes the object at `index` out of the list and hands it to the caller.
  std::unique_ptr<T> RemoveAt(size_t index) {
    std::unique_ptr<T> obj(items_.at(index).get());
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    LetGo(*obj);
    return obj;
  }
  // Deletes, in one pass, the objects for which `drop` answers true; `drop` sees
  // them from the last to the first.
  template <class Predicate>
  void RemoveWhere(Predicate drop) {
    std::vector<bool> dropped(items_.size(), false);
    bool any = false;
    for (size_t i = items_.size(); i-- > 0;) {
      if (drop(*items_[i])) dropped[i] = any = true;
    }
    if (!any) return;
    size_t kept = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
      if (dropped[i]) {
        LetGo(*items_[i]);
        delete items_[i].get();
      } else {
        items_[kept++] = items_[i];
      }
    }
    items_.resize(kept, ObjectSlot<T>(nullptr));
  }
  void Clear() {
    if constexpr (kIndexed) {
      if (index_) index_->Empty();
    }
    for (const ObjectSlot<T>& slot : items_) delete slot.get();
    items_.clear();
  }
  // Position of `obj` or -1.
  long IndexOf(const T* obj) const {
    for (size_t i = 0; i < items_.size(); ++i) {
      if (items_[i].get() == obj) return static_cast<long>(i);
    }
    return -1;
  }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

  // ---- Lists with an index by id ----

  // The first object with `id`, or null.
  T* FindId(uint32_t id) const
    requires kIndexed
  {
    if (id != 0 && FillIndex()) {
      auto [first, last] = index_->WithId(id);
      if (first == last) return nullptr;
      if (std::next(first) == last) return Downcast(first->second);
    }
    long i = IndexOfId(id);
    return i < 0 ? nullptr : items_[static_cast<size_t>(i)].get();
  }
  // Position of the first object with `id`, or -1.
  long IndexOfId(uint32_t id) const
    requires kIndexed
  {
    if (id == 0 || !FillIndex()) return IndexWhere([id](const T& o) { return o.GetId() == id; });
    auto [first, last] = index_->WithId(id);
    if (first == last) return -1;
    if (std::next(first) == last) return IndexOf(Downcast(first->second));
    // Several objects share the id (a file may hold such): the first in the list counts.
    return IndexWhere([first, last](const T& o) {
      for (auto it = first; it != last; ++it) {
        if (it->second == &o) return true;
      }
      return false;
    });
  }
  // The first object with id 0 that `match` accepts, or null: only unnumbered
  // objects are looked at.
  template <class Predicate>
  T* FindUnnumbered(Predicate match) const
    requires kIndexed
  {
    if (!FillIndex()) {
      long i = IndexWhere([&match](const T& o) { return o.GetId() == 0 && match(o); });
      return i < 0 ? nullptr : items_[static_cast<size_t>(i)].get();
    }
    T* found = nullptr;
    size_t matches = 0;
    for (const CObject* o : index_->Unnumbered()) {
      if (match(*Downcast(o))) {
        found = Downcast(o);
        ++matches;
      }
    }
    if (matches <= 1) return found;
    long i = IndexWhere([&match](const T& o) { return o.GetId() == 0 && match(o); });
    return i < 0 ? nullptr : items_[static_cast<size_t>(i)].get();
  }
  // Moves on with every change of the list and of a field its filters read.
  uint64_t Changes() const
    requires kIndexed
  {
    return index_ ? index_->Changes() : 0;
  }

 private:
  static T* Downcast(const CObject* object) { return static_cast<T*>(const_cast<CObject*>(object)); }

  template <class Predicate>
  long IndexWhere(Predicate match) const {
    for (size_t i = 0; i < items_.size(); ++i) {
      if (match(*items_[i])) return static_cast<long>(i);
    }
    return -1;
  }

  void TakeIn(T& obj) {
    if constexpr (kIndexed) {
      if (!index_) return;
      obj.Membership().Join(index_.get());
      index_->Add(obj, obj.GetId());
    }
  }
  void LetGo(T& obj) {
    if constexpr (kIndexed) {
      obj.Membership().Leave();
      if (index_) index_->Remove(obj, obj.GetId());
    }
  }
  // Fills the index on its first use; false when memory is short for it.
  bool FillIndex() const {
    if (!index_) return false;
    if (index_->IsFilled()) return true;
    index_->SetFilled();
    for (const auto& obj : items_) {
      index_->Add(*obj, obj->GetId());
      if (!index_->IsFilled()) return false;
    }
    return true;
  }

  std::vector<ObjectSlot<T>> items_;
  // On the heap, so that the objects' memberships survive a move of the list (a
  // list moved from has none and finds by walking).
  std::unique_ptr<IdIndex> index_;
};

}  // namespace model
