#include "platform/StringTableData.h"

// Every text of the program with its string id. Add rows; keep ids unique.
namespace platform {

const StringRow kStringRows[] = {
    // Photo size labels.
    {137, "320x240"},
    {138, "480x360"},
    {139, "640x480"},
    {140, "Full size photos"},
    {141, "Nothing"},
    {142, "Thumbnails"},
    {143, "176x132"},
    {144, "240x180"},
};

const size_t kStringRowCount = sizeof(kStringRows) / sizeof(kStringRows[0]);

}  // namespace platform
