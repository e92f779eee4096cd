#include "server/BlogPages.h"

#include <algorithm>
#include <charconv>

#include "server/BlogStore.h"
#include "server/ContentStore.h"
#include "server/Crypto.h"
#include "server/Transaction.h"

namespace server {

namespace {

bool ParseNumber(const std::optional<std::string>& text, int64_t& value) {
  if (!text) return true;
  auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
  return ec == std::errc() && end == text->data() + text->size() && value >= 0;
}

}  // namespace

std::string BlogPages::NotFoundPage() const {
  return builder_.MessagePage(nullptr, "Not found", "There is nothing at this address.");
}

BlogPages::Answer BlogPages::Render(const Request& request) {
  Transaction tx(db_);
  BlogStore blogs(db_);
  ContentStore content(db_);
  Answer answer;
  auto fail = [&](int status, const BlogRecord* blog, const std::string& heading, const std::string& text) {
    answer.status = status;
    answer.html = builder_.MessagePage(blog, heading, text);
    return answer;
  };

  auto blog = blogs.Find(request.blog);
  if (!blog) return fail(404, nullptr, "Not found", "There is no blog of this name.");
  int64_t preview = -1;
  int64_t category = -1;
  int64_t page = 1;
  if (!ParseNumber(request.preview, preview) || !ParseNumber(request.albumId, category) ||
      !ParseNumber(request.page, page)) {
    return fail(400, nullptr, "Bad request", "This address is not one of a blog page.");
  }
  page = std::max<int64_t>(page, 1);

  if (blog->hidden) {
    answer.restricted = true;
    bool admitted = sessions_.Admits(*blog, request.cookies);
    // The form posts back to the page it was shown on.
    std::string action = "/" + blog->url + "/";
    if (preview >= 0) {
      action += "?preview=" + std::to_string(preview);
    } else if (category >= 0) {
      action += "?albumid=" + std::to_string(category) + (page > 1 ? "&page=" + std::to_string(page) : "");
    } else if (page > 1) {
      action += "?page=" + std::to_string(page);
    }
    bool wrong = false;
    if (!admitted && request.password) {
      if (!blog->viewPassword.empty() && Crypto::ConstantTimeEquals(*request.password, blog->viewPassword)) {
        answer.status = 303;
        answer.location = action;
        answer.cookie = sessions_.Cookie(*blog);
        return answer;
      }
      wrong = true;
    }
    if (!admitted) {
      answer.status = 403;
      answer.html = builder_.PasswordPage(*blog, action, wrong);
      return answer;
    }
  }

  if (preview >= 0) {
    auto entry = content.FindEntry(preview);
    if (!entry || entry->blog != blog->id || entry->deleted) {
      return fail(404, &*blog, "Not found", "This entry is deleted or doesn't exist.");
    }
    PageBuilder::Entry view;
    if (entry->category != 0) {
      auto found = content.FindCategory(entry->category);
      if (found && found->blog == blog->id && !found->deleted) view.category = found;
    }
    view.comments = content.CommentsOf(entry->id);
    view.newer = content.Neighbour(*entry, true);
    view.older = content.Neighbour(*entry, false);
    view.entry = std::move(*entry);
    answer.html = builder_.EntryPage(*blog, view);
    return answer;
  }

  if (category == 0) {
    std::vector<PageBuilder::Category> categories;
    for (CategoryRecord& c : content.Categories(blog->id, ContentStore::kLiveOnly)) {
      PageBuilder::Category item;
      item.entries = content.CountEntries(blog->id, c.id);
      std::vector<EntryRecord> newest = content.EntryPage(blog->id, c.id, 0, 1);
      if (!newest.empty()) item.newest = std::move(newest.front());
      item.category = std::move(c);
      categories.push_back(std::move(item));
    }
    answer.html = builder_.CategoriesPage(*blog, categories);
    return answer;
  }

  PageBuilder::Grid grid;
  if (category > 0) {
    grid.category = content.FindCategory(category);
    if (!grid.category || grid.category->blog != blog->id || grid.category->deleted) {
      return fail(404, &*blog, "Not found", "This category is deleted or doesn't exist.");
    }
  }
  int64_t count = content.CountEntries(blog->id, category);
  grid.pages = std::max<int64_t>(1, (count + PageBuilder::kEntriesPerPage - 1) / PageBuilder::kEntriesPerPage);
  if (page > grid.pages) return fail(404, &*blog, "Not found", "There is no page " + std::to_string(page) + " here.");
  grid.page = page;
  grid.entries =
      content.EntryPage(blog->id, category, (page - 1) * PageBuilder::kEntriesPerPage, PageBuilder::kEntriesPerPage);
  answer.html = builder_.GridPage(*blog, grid);
  return answer;
}

}  // namespace server
