#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace model {

class CBlogInfo;
class CWinBlogStorage;

// What the Blog Prefs screen edits for one blog: its sync settings and, in the
// full layout, the owner's title, subtitle and visibility. The Blog URL is shown
// but never changed: the service has no way to rename a blog, so a new urlName
// would only point this database at another blog.
struct BlogPrefs {
  static constexpr size_t kMaxTitle = 47;
  static constexpr size_t kMaxSubtitle = 63;

  uint16_t uploadSize = 3;
  uint16_t downloadSize = 2;
  bool limitEntries = true;
  uint16_t entryLimit = 25;
  bool deleteAfterUpload = false;
  std::string title;
  std::string subtitle;
  bool visible = true;  // "Show on Tessary": the blog is not hidden

  // The settings as the blog has them now.
  static BlogPrefs Of(const CBlogInfo& info);

  // Stores the five sync settings alone, as Subscribe does for a new blog.
  void StoreSyncSettings(CBlogInfo& info) const;

  // OK of Blog Prefs. With `ownerSettings`, a title, subtitle or visibility that
  // differs from the blog's is stored and marks the blog's settings modified,
  // so that the next sync sends them. Raising the entry limit while the stored
  // limit is on makes the next sync a full download. Going down to thumbnails
  // from a photo size asks whether to delete the photos of the existing entries
  // (they go at the blog's next Save) through `ask`, or through the user
  // interface in use when none is given. Then the sync settings are stored.
  using Question = std::function<bool(std::string_view text)>;
  void Apply(CWinBlogStorage& blog, bool ownerSettings, const Question& ask = nullptr) const;
};

}  // namespace model
