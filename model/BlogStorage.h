#pragma once

#include <cstdint>
#include <string_view>

#include "model/BlogAlbum.h"
#include "model/BlogComment.h"
#include "model/BlogData.h"
#include "model/BlogEntry.h"
#include "model/CObject.h"

namespace model {

// A blog's database as the service client sees it: filters, queries and the
// changes a sync applies. What the database answers stays owned by it; what is
// given to an Add operation is copied.
class BlogStorage : public CObject {
 public:
  virtual uint32_t GetCategoryFilter() const = 0;
  virtual uint16_t GetShowFilter() const = 0;
  virtual void SetFilters(uint32_t category, uint16_t show) = 0;
  virtual size_t GetCategoryCount() const = 0;
  virtual size_t GetShownCount() const = 0;
  virtual BlogData* GetBlogInfo() = 0;
  virtual BlogAlbum* GetCategoryAt(size_t index) const = 0;
  virtual BlogEntry* GetShownEntryAt(size_t n) const = 0;
  // The shown entry that has exactly `skip` shown entries after it.
  virtual BlogEntry* GetLastShownEntry(size_t skip) const = 0;
  virtual BlogAlbum* FindCategory(uint32_t id) const = 0;
  virtual BlogAlbum* FindCategoryByName(std::string_view name) const = 0;
  virtual BlogEntry* FindEntry(uint32_t id) const = 0;
  // Shown entries before `entry` in the list; 0xFFFF when it is not in the list.
  virtual uint16_t GetShownPosition(const BlogEntry* entry) const = 0;
  virtual void SetCommentEntry(uint32_t entryId) = 0;
  virtual size_t GetCommentCount() const = 0;
  virtual BlogComment* GetCommentAt(size_t n) const = 0;
  virtual BlogComment* FindComment(uint32_t id) const = 0;
  virtual BlogAlbum* GetFirstModifiedCategory() const = 0;
  virtual BlogAlbum* FindLocalCategory(std::string_view name) const = 0;
  // Optional caption (null: any) and date (0: any).
  virtual BlogEntry* FindLocalEntry(uint32_t categoryId, std::string_view title,
                                    const std::string_view* caption, uint32_t date) const = 0;
  virtual BlogComment* GetFirstModifiedComment() const = 0;
  virtual BlogComment* FindLocalComment(uint32_t entryId, const std::string_view* text,
                                        uint32_t date) const = 0;
  virtual BlogAlbum* GetFirstDeletedCategory() const = 0;
  virtual BlogEntry* GetFirstDeletedEntry() const = 0;
  virtual BlogComment* GetFirstDeletedComment() const = 0;
  virtual void BlogInfoChanged() {}
  virtual void CategoryChanged(BlogAlbum*) {}
  virtual void EntryChanged(BlogEntry*) {}
  virtual void CommentChanged(BlogComment*) {}
  virtual uint32_t AddCategory(const BlogAlbum& category) = 0;
  virtual void RemoveCategory(const BlogAlbum& category, bool destroy) = 0;
  virtual uint32_t AddEntry(const BlogEntry& entry) = 0;
  virtual void RemoveEntry(const BlogEntry& entry, bool destroy, bool deletePhoto) = 0;
  virtual void RemoveEntryFromDevice(BlogEntry& entry) = 0;
  virtual void DestroyEntry(const BlogEntry& entry) = 0;
  virtual uint32_t AddComment(const BlogComment& comment) = 0;
  virtual void RemoveComment(const BlogComment& comment, bool destroy) = 0;
};

}  // namespace model
