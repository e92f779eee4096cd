#include "model/IdIndex.h"

#include <new>

namespace model {

void IdIndex::Empty() {
  byId_.clear();
  unnumbered_.clear();
  filled_ = false;
  ++changes_;
}

void IdIndex::Add(const CObject& object, uint32_t id) {
  ++changes_;
  if (!filled_) return;
  try {
    if (id == 0) {
      unnumbered_.insert(&object);
    } else {
      byId_.emplace(id, &object);
    }
  } catch (const std::bad_alloc&) {
    // An index missing an object would answer wrongly; one that is not filled is
    // filled again at its next use.
    Empty();
  }
}

void IdIndex::Remove(const CObject& object, uint32_t id) {
  ++changes_;
  if (!filled_) return;
  if (id == 0) {
    unnumbered_.erase(&object);
    return;
  }
  auto [first, last] = byId_.equal_range(id);
  for (auto it = first; it != last; ++it) {
    if (it->second == &object) {
      byId_.erase(it);
      return;
    }
  }
}

void IdIndex::IdChanged(const CObject& object, uint32_t oldId, uint32_t newId) {
  Remove(object, oldId);
  Add(object, newId);
}

}  // namespace model
