#pragma once

#include <cstdint>

namespace model {

class CObject;

// What a database list wants to hear from the objects it holds.
class ListWatcher {
 public:
  virtual void IdChanged(const CObject& object, uint32_t oldId, uint32_t newId) = 0;
  // A field that the database's filters read has changed.
  virtual void FieldChanged() = 0;

 protected:
  ~ListWatcher() = default;
};

// Kept by an entry, category or comment: the list that holds it, told when the
// object's id or a filtered field changes, so that the list's index by id and its
// answers to the shown-entry queries stay right however the object is changed.
// Copying an object copies no membership: a copy belongs to no list until one
// takes it in.
class ListMembership {
 public:
  ListMembership() = default;
  ListMembership(const ListMembership&) noexcept {}
  ListMembership& operator=(const ListMembership&) noexcept { return *this; }

  void Join(ListWatcher* list) { list_ = list; }
  void Leave() { list_ = nullptr; }
  void IdChanged(const CObject& object, uint32_t oldId, uint32_t newId) const {
    if (list_ != nullptr && oldId != newId) list_->IdChanged(object, oldId, newId);
  }
  void FieldChanged() const {
    if (list_ != nullptr) list_->FieldChanged();
  }

 private:
  ListWatcher* list_ = nullptr;
};

}  // namespace model
