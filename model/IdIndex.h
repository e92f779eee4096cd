#pragma once

#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "model/ListMembership.h"

namespace model {

// The index by id of one database list. The list keeps it in step as objects come
// and go; the objects tell it when their ids change. It is filled on first use, so
// that reading a file costs nothing for it until something is looked up. Id 0 is
// not indexed: every object the service has not numbered yet has it. The change
// count moves with every change of the list or of a filtered field.
class IdIndex final : public ListWatcher {
 public:
  using Map = std::unordered_multimap<uint32_t, const CObject*>;

  bool IsFilled() const { return filled_; }
  // Marks the index as holding every object of its list.
  void SetFilled() { filled_ = true; }
  // Forgets every object; the next use fills the index again.
  void Empty();
  // Takes in or lets go of an object with `id`, when the index is filled.
  void Add(const CObject& object, uint32_t id);
  void Remove(const CObject& object, uint32_t id);

  // The objects with `id` (not 0), in no particular order.
  std::pair<Map::const_iterator, Map::const_iterator> WithId(uint32_t id) const {
    return byId_.equal_range(id);
  }
  // The objects with id 0.
  const std::unordered_set<const CObject*>& Unnumbered() const { return unnumbered_; }

  uint64_t Changes() const { return changes_; }
  void Touch() { ++changes_; }

  void IdChanged(const CObject& object, uint32_t oldId, uint32_t newId) override;
  void FieldChanged() override { ++changes_; }

 private:
  Map byId_;
  std::unordered_set<const CObject*> unnumbered_;
  uint64_t changes_ = 0;
  bool filled_ = false;
};

}  // namespace model
