#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "server/Database.h"
#include "server/Records.h"

namespace server {

// Categories, entries and comments of the blogs. Deletions leave tombstones with
// their time of deletion so that change lists can report them. Every call must
// run inside a Transaction.
class ContentStore {
 public:
  // Pass as "since" to list only live objects.
  static constexpr int64_t kLiveOnly = -1;

  explicit ContentStore(Database& db) : db_(db) {}

  std::optional<CategoryRecord> FindCategory(int64_t id);
  // A live category of the blog with this name, letter case ignored.
  std::optional<CategoryRecord> FindCategoryByName(int64_t blog, const std::string& name);
  int64_t AddCategory(int64_t blog, const std::string& name, int64_t now);
  bool RenameCategory(int64_t id, const std::string& name, int64_t now);
  // Tombstones the category and files its entries under 0 (they count as changed).
  bool DeleteCategory(int64_t id, int64_t now);
  std::vector<CategoryRecord> Categories(int64_t blog, int64_t since);

  std::optional<EntryRecord> FindEntry(int64_t id);
  int64_t AddEntry(const EntryRecord& entry, int64_t now);
  bool UpdateEntry(const EntryRecord& entry, int64_t now);
  // Tombstones the entry and its comments.
  bool DeleteEntry(int64_t id, int64_t now);
  // Live entries newest first (limit 0: all) or, with a time, everything changed since.
  std::vector<EntryRecord> Entries(int64_t blog, int64_t since, int64_t limit);
  // Live entries newest first, skipping `offset` and at most `count`; only those of
  // one category when category >= 0 (0: unfiled).
  std::vector<EntryRecord> EntryPage(int64_t blog, int64_t category, int64_t offset, int64_t count);
  int64_t CountEntries(int64_t blog, int64_t category);
  // The live entry next to this one in the blog's order (entry date, then id):
  // the next newer one, or the next older one.
  std::optional<EntryRecord> Neighbour(const EntryRecord& entry, bool newer);
  // Photo keys of every live entry (all blogs).
  std::vector<std::string> LivePhotoKeys();

  std::optional<CommentRecord> FindComment(int64_t id);
  int64_t AddComment(const CommentRecord& comment, int64_t now);
  bool UpdateComment(int64_t id, const std::string& dateText, const std::string& text, int64_t now);
  bool DeleteComment(int64_t id, int64_t now);
  // Live comments of live entries, or everything changed since the time.
  std::vector<CommentRecord> Comments(int64_t blog, int64_t since);
  std::vector<CommentRecord> CommentsOf(int64_t entry);

 private:
  Database& db_;
};

}  // namespace server
