#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "model/Archive.h"
#include "platform/FileStamp.h"

namespace model {

class CObject;

// Reading and writing a whole archive file of the device file system.
namespace archivefile {

// A whole file in memory (not zero-filled first: it is read over at once).
struct FileBytes {
  std::unique_ptr<uint8_t[]> data;
  size_t size = 0;
};

// Answers 0 with the file's bytes, the system code when it cannot be opened or
// read, or kErrInvalidData for a file too large to be one of ours. `stamp`, when
// given, receives the stamp of the file that was opened.
uint32_t ReadAll(std::string_view path, FileBytes& bytes, platform::FileStamp* stamp = nullptr);

// Writes `obj`'s fields (Serialize) to `path` through a temporary file renamed
// over it. `created` tells whether the temporary file could be made; the answer
// is 0 or the first failure's code. `stamp`, when given, receives the stamp of
// the file written.
uint32_t WriteAtomically(std::string_view path, CObject& obj, bool& created,
                         platform::FileStamp* stamp = nullptr);

}  // namespace archivefile

}  // namespace model
