#pragma once

#include "model/RuntimeClass.h"

namespace model {

class Archive;

// Root of every serialisable model object.
class CObject {
 public:
  virtual const RuntimeClass* GetRuntimeClass() const = 0;
  virtual ~CObject() = default;
  // Writes or reads the object's fields (the archive knows which); a failed read
  // leaves the archive failed.
  virtual void Serialize(Archive& ar) = 0;

  bool IsKindOf(const RuntimeClass* cls) const { return GetRuntimeClass() == cls; }

 protected:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};

}  // namespace model
