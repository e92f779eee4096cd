#include "server/BlogPages.h"

#include <charconv>

#include "server/BlogStore.h"
#include "server/ContentStore.h"
#include "server/PhotoStore.h"
#include "server/Transaction.h"

namespace server {

namespace {

constexpr int64_t kEntriesPerPage = 200;

bool ParseId(const std::string& text, int64_t& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value >= 0;
}

std::string Page(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + BlogPages::Escape(title) +
         "</title></head>\n<body>\n" + body + "</body></html>\n";
}

}  // namespace

std::string BlogPages::Escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

int BlogPages::Render(const std::string& name, const std::optional<std::string>& albumId,
                      const std::optional<std::string>& preview, std::string& html) {
  Transaction tx(db_);
  BlogStore blogs(db_);
  ContentStore content(db_);
  auto blog = blogs.Find(name);
  if (!blog) {
    html = Page("Not found", "<p>There is no blog of this name.</p>\n");
    return 404;
  }
  std::string heading = blog->title.empty() ? blog->url : blog->title;
  if (blog->hidden) {
    html = Page(heading, "<p>This blog is password protected.</p>\n");
    return 403;
  }
  std::string top = "<h1><a href=\"" + Escape(urls_.Blog(blog->url)) + "\">" + Escape(heading) + "</a></h1>\n";
  if (!blog->subtitle.empty()) top += "<p>" + Escape(blog->subtitle) + "</p>\n";

  if (preview) {
    int64_t id = 0;
    if (!ParseId(*preview, id)) {
      html = Page(heading, "<p>Bad request.</p>\n");
      return 400;
    }
    auto entry = content.FindEntry(id);
    if (!entry || entry->blog != blog->id || entry->deleted) {
      html = Page(heading, top + "<p>This entry is deleted or doesn't exist.</p>\n");
      return 404;
    }
    std::string body = top + "<h2>" + Escape(entry->title) + "</h2>\n";
    body += "<p><a href=\"" + Escape(urls_.Photo(PhotoStore::FileName(entry->photoKey))) + "\"><img src=\"" +
            Escape(urls_.Photo(PhotoStore::FileName(entry->photoKey, 'm'))) + "\" alt=\"" + Escape(entry->title) +
            "\"></a></p>\n";
    body += "<p>" + Escape(entry->caption) + "</p>\n";
    body += "<p>" + Escape(entry->authorName) + ", " + Escape(entry->dateText) + "</p>\n<h3>Comments</h3>\n<ul>\n";
    for (const CommentRecord& comment : content.CommentsOf(id)) {
      body += "<li>" + Escape(comment.text) + " &mdash; " + Escape(comment.authorName) + ", " +
              Escape(comment.dateText) + "</li>\n";
    }
    body += "</ul>\n";
    html = Page(entry->title.empty() ? heading : entry->title, body);
    return 200;
  }

  int64_t category = -1;
  if (albumId && !ParseId(*albumId, category)) {
    html = Page(heading, "<p>Bad request.</p>\n");
    return 400;
  }
  std::vector<CategoryRecord> categories = content.Categories(blog->id, ContentStore::kLiveOnly);
  if (category == 0) {
    std::string body = top + "<h2>Categories</h2>\n<ul>\n";
    for (const CategoryRecord& c : categories) {
      body += "<li><a href=\"" + Escape(urls_.Category(blog->url, c.id)) + "\">" + Escape(c.name) + "</a></li>\n";
    }
    html = Page(heading, body + "</ul>\n");
    return 200;
  }
  std::string body = top;
  if (category > 0) {
    auto found = content.FindCategory(category);
    if (!found || found->blog != blog->id || found->deleted) {
      html = Page(heading, top + "<p>This category is deleted or doesn't exist.</p>\n");
      return 404;
    }
    body += "<h2>" + Escape(found->name) + "</h2>\n";
  }
  body += "<p><a href=\"" + Escape(urls_.Category(blog->url, 0)) + "\">Categories</a></p>\n<div>\n";
  int64_t shown = 0;
  for (const EntryRecord& entry : content.Entries(blog->id, ContentStore::kLiveOnly, 0)) {
    if (category > 0 && entry.category != category) continue;
    if (++shown > kEntriesPerPage) break;
    body += "<a href=\"" + Escape(urls_.Preview(blog->url, entry.id)) + "\"><img src=\"" +
            Escape(urls_.Photo(PhotoStore::FileName(entry.photoKey, 't'))) + "\" alt=\"" + Escape(entry.title) +
            "\" title=\"" + Escape(entry.title) + "\"></a>\n";
  }
  html = Page(heading, body + "</div>\n");
  return 200;
}

}  // namespace server
