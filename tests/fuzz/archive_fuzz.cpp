// Feeds arbitrary bytes to the readers of the blog database and the user file.
// Whatever the bytes hold, reading must end with a result, never a crash, a hang
// or a huge allocation; and what was read (completely or not) must write out
// the same way after one more read, so that a rewrite is stable.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/Archive.h"
#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"

namespace {

std::vector<uint8_t> Write(model::CObject& obj) {
  std::vector<uint8_t> out;
  model::Archive ar = model::Archive::ForWriting([&out](const uint8_t* data, size_t len) {
    out.insert(out.end(), data, data + len);
    return 0u;
  });
  obj.Serialize(ar);
  if (ar.Flush() != 0) std::abort();
  return out;
}

template <class T, class Make>
void Check(const uint8_t* data, size_t size, Make make) {
  auto first = make();
  model::Archive ar = model::Archive::ForReading(data, size);
  first->Serialize(ar);
  const std::vector<uint8_t> written = Write(*first);
  auto second = make();
  model::Archive again = model::Archive::ForReading(written.data(), written.size());
  second->Serialize(again);
  if (!again.Ok() || again.BytesLeft() != 0) std::abort();
  if (Write(*second) != written) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Check<model::CWinBlogStorage>(data, size, [] { return std::make_unique<model::CWinBlogStorage>(); });
  Check<model::CWinBlogUser>(data, size,
                             [] { return std::make_unique<model::CWinBlogUser>(std::string()); });
  return 0;
}
