#include "cli/BlogSelection.h"

#include <cstdlib>
#include <ostream>

#include "model/NoCase.h"
#include "platform/TextConversion.h"

namespace cli {

using model::CWinBlogEntry;
using model::CWinBlogStorage;

std::unique_ptr<model::CWinBlogUser> BlogSelection::LoadAccount() {
  auto user = std::make_unique<model::CWinBlogUser>();
  user->LoadUser();
  return user;
}

std::optional<BlogSelection::Opened> BlogSelection::OpenBlog(const std::string& name, std::ostream& err) {
  Opened opened;
  opened.user = LoadAccount();
  opened.blog = opened.user->FindBlog(platform::Utf8ToUtf16(name));
  if (opened.blog == nullptr) {
    err << "tessary-cli: no blog named \"" << name << "\" (see `tessary-cli blogs`)\n";
    return std::nullopt;
  }
  return opened;
}

std::vector<CWinBlogEntry*> BlogSelection::DefaultListing(const CWinBlogStorage& blog) {
  std::vector<CWinBlogEntry*> shown;
  for (const auto& e : blog.Entries()) {
    if (!e->IsRemoved()) shown.push_back(e.get());
  }
  return shown;
}

CWinBlogEntry* BlogSelection::ResolveEntry(const CWinBlogStorage& blog, const std::string& name, long& position,
                                           std::ostream& err) {
  position = -1;
  char* end = nullptr;
  const bool byPosition = !name.empty() && name[0] == '#';
  const char* digits = name.c_str() + (byPosition ? 1 : 0);
  unsigned long n = std::strtoul(digits, &end, 10);
  if (*digits == '\0' || *end != '\0' || n == 0 || n > 0xFFFFFFFFul) {
    err << "tessary-cli: an entry is a service id or #N, its place in `entries`; not \"" << name << "\"\n";
    return nullptr;
  }
  CWinBlogEntry* entry = nullptr;
  if (byPosition) {
    std::vector<CWinBlogEntry*> shown = DefaultListing(blog);
    if (n <= shown.size()) entry = shown[n - 1];
  } else {
    entry = blog.FindEntry(static_cast<uint32_t>(n));
  }
  if (entry == nullptr) {
    err << "tessary-cli: no entry " << name << '\n';
    return nullptr;
  }
  position = blog.IndexOfEntry(entry);
  return entry;
}

std::optional<uint16_t> BlogSelection::ParseShow(const std::string& show) {
  if (show == "all") return model::kShowAll;
  if (show == "pending") return model::kShowPending;
  if (show == "published") return model::kShowPublished;
  if (show == "mine") return model::kShowPublishedByMe;
  return std::nullopt;
}

std::optional<uint32_t> BlogSelection::ParseCategory(const CWinBlogStorage& blog, const std::string& name) {
  if (model::EqualsNoCase(name, "all")) return model::kAllCategories;
  if (model::EqualsNoCase(name, "unfiled")) return model::kUnfiledCategoryId;
  if (const model::CWinBlogAlbum* c = blog.FindCategoryByName(name)) return c->GetId();
  return std::nullopt;
}

std::string BlogSelection::CategoryName(const CWinBlogStorage& blog, uint32_t id) {
  if (id == model::kUnfiledCategoryId) return "Unfiled";
  const model::CWinBlogAlbum* c = blog.FindCategory(id);
  return c != nullptr ? c->GetName() : "(category " + std::to_string(id) + ")";
}

}  // namespace cli
