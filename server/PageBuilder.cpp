#include "server/PageBuilder.h"

#include <algorithm>

#include "server/DateWords.h"
#include "server/HtmlText.h"
#include "server/PageStyle.h"
#include "server/PhotoStore.h"

namespace server {

namespace {

// Longer descriptions are cut by most preview cards anyway.
constexpr size_t kDescriptionBytes = 200;
// Tiles in the first rows load at once; the rest when scrolled near.
constexpr size_t kEagerTiles = 12;

std::string E(const std::string& text) { return HtmlText::Escape(text); }

std::string Heading(const BlogRecord& blog) { return blog.title.empty() ? blog.url : blog.title; }

std::string EntryName(const EntryRecord& entry) { return entry.title.empty() ? "Untitled photo" : entry.title; }

// The date in words in the zone of `zone`, or the stored text when it is no date.
std::string When(const std::string& date, const std::string& zone) {
  std::string words = DateWords::FormatIn(date, zone);
  return "<time datetime=\"" + E(date) + "\">" + E(words.empty() ? date : words) + "</time>";
}

std::string Count(int64_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

struct PageBuilder::Meta {
  std::string title;        // of the document
  std::string shareTitle;   // of a shared link's preview
  std::string description;  // plain text
  std::string url;          // the page's own address
  const EntryRecord* image = nullptr;
  bool article = false;
  bool noIndex = false;
  std::string newer;  // address of the newer page, if any
  std::string older;
};

std::string PageBuilder::PageUrl(const std::string& first, int64_t page) {
  if (page <= 1) return first;
  std::string number = std::to_string(page);
  return first.find('?') == std::string::npos ? first + "/?page=" + number : first + "&page=" + number;
}

std::string PageBuilder::Document(const Meta& meta, const std::string& header, const std::string& main) const {
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
      E(meta.title) + "</title>\n<link rel=\"stylesheet\" href=\"" + PageStyle::kPath + "\">\n";
  if (meta.noIndex) html += "<meta name=\"robots\" content=\"noindex\">\n";
  if (!meta.description.empty()) html += "<meta name=\"description\" content=\"" + E(meta.description) + "\">\n";
  if (!meta.url.empty()) {
    html += "<link rel=\"canonical\" href=\"" + E(meta.url) + "\">\n";
    html += "<meta property=\"og:url\" content=\"" + E(meta.url) + "\">\n";
  }
  if (!meta.newer.empty()) html += "<link rel=\"prev\" href=\"" + E(meta.newer) + "\">\n";
  if (!meta.older.empty()) html += "<link rel=\"next\" href=\"" + E(meta.older) + "\">\n";
  const std::string& shareTitle = meta.shareTitle.empty() ? meta.title : meta.shareTitle;
  html += "<meta property=\"og:type\" content=\"" + std::string(meta.article ? "article" : "website") + "\">\n";
  html += "<meta property=\"og:title\" content=\"" + E(shareTitle) + "\">\n";
  html += "<meta name=\"twitter:title\" content=\"" + E(shareTitle) + "\">\n";
  if (!meta.description.empty()) {
    html += "<meta property=\"og:description\" content=\"" + E(meta.description) + "\">\n";
    html += "<meta name=\"twitter:description\" content=\"" + E(meta.description) + "\">\n";
  }
  if (meta.image != nullptr) {
    std::string image = E(urls_.Photo(PhotoStore::FileName(meta.image->photoKey, 'm')));
    html += "<meta property=\"og:image\" content=\"" + image + "\">\n";
    html += "<meta property=\"og:image:alt\" content=\"" + E(EntryName(*meta.image)) + "\">\n";
    html += "<meta name=\"twitter:card\" content=\"summary_large_image\">\n";
    html += "<meta name=\"twitter:image\" content=\"" + image + "\">\n";
  } else {
    html += "<meta name=\"twitter:card\" content=\"summary\">\n";
  }
  return html + "</head>\n<body>\n" + header + "<main class=\"wrap\">\n" + main +
         "</main>\n<footer class=\"wrap\">Published with Tessary</footer>\n</body>\n</html>\n";
}

std::string PageBuilder::Header(const BlogRecord* blog, bool showNavigation) const {
  std::string html = "<header class=\"top\"><div class=\"wrap\">\n";
  if (blog == nullptr) return html + "<h1>Tessary</h1>\n</div></header>\n";
  if (!showNavigation) return html + "<h1>" + E(blog->url) + "</h1>\n</div></header>\n";
  html += "<h1><a href=\"" + E(urls_.Blog(blog->url)) + "\">" + E(Heading(*blog)) + "</a></h1>\n";
  if (!blog->subtitle.empty()) html += "<p class=\"subtitle\">" + E(blog->subtitle) + "</p>\n";
  html += "<nav><a href=\"" + E(urls_.Blog(blog->url)) + "\">Latest photos</a><a href=\"" +
          E(urls_.Category(blog->url, 0)) + "\">Categories</a></nav>\n";
  return html + "</div></header>\n";
}

std::string PageBuilder::MediumImage(const EntryRecord& entry, const std::string& alt, bool lazy) const {
  std::string html =
      "<img src=\"" + E(urls_.Photo(PhotoStore::FileName(entry.photoKey, 'm'))) + "\" alt=\"" + E(alt) + "\"";
  // The stored rendition's size, so that the page does not jump while it loads.
  int64_t side = std::max(entry.width, entry.height);
  if (side > 0) {
    int64_t scale = std::min<int64_t>(side, PhotoStore::kMediumSide);
    int64_t width = std::max<int64_t>(1, entry.width * scale / side);
    int64_t height = std::max<int64_t>(1, entry.height * scale / side);
    html += " width=\"" + std::to_string(width) + "\" height=\"" + std::to_string(height) + "\"";
  }
  if (lazy) html += " loading=\"lazy\"";
  return html + ">";
}

std::string PageBuilder::Tile(const BlogRecord& blog, const EntryRecord& entry, size_t index) const {
  std::string alt = entry.title.empty() ? "Photo of " + DateWords::Format(entry.dateText) : entry.title;
  std::string html =
      "<li><a href=\"" + E(urls_.Preview(blog.url, entry.id)) + "\">" + MediumImage(entry, alt, index >= kEagerTiles);
  if (!entry.title.empty()) html += "<span class=\"label\">" + E(entry.title) + "</span>";
  return html + "</a></li>\n";
}

std::string PageBuilder::GridPage(const BlogRecord& blog, const Grid& grid) const {
  std::string first = grid.category ? urls_.Category(blog.url, grid.category->id) : urls_.Blog(blog.url);
  Meta meta;
  std::string place = grid.category ? grid.category->name + " \xC2\xB7 " + Heading(blog) : Heading(blog);
  meta.title = grid.page > 1 ? place + " (page " + std::to_string(grid.page) + ")" : place;
  meta.shareTitle = place;
  meta.description =
      blog.subtitle.empty() ? "Photos of " + Heading(blog) : HtmlText::Excerpt(blog.subtitle, kDescriptionBytes);
  meta.url = PageUrl(first, grid.page);
  if (!grid.entries.empty()) meta.image = &grid.entries.front();
  if (grid.page > 1) meta.newer = PageUrl(first, grid.page - 1);
  if (grid.page < grid.pages) meta.older = PageUrl(first, grid.page + 1);

  std::string main;
  if (grid.category) main += "<h2>" + E(grid.category->name) + "</h2>\n";
  if (grid.entries.empty()) {
    main += "<p class=\"note\">No photos yet.</p>\n";
  } else {
    main += "<ul class=\"grid\">\n";
    for (size_t i = 0; i < grid.entries.size(); ++i) main += Tile(blog, grid.entries[i], i);
    main += "</ul>\n";
  }
  if (grid.pages > 1) {
    main += "<nav class=\"pager\">";
    main +=
        meta.newer.empty() ? "<span></span>" : "<a rel=\"prev\" href=\"" + E(meta.newer) + "\">&larr; Newer photos</a>";
    main += "<span class=\"count\">Page " + std::to_string(grid.page) + " of " + std::to_string(grid.pages) + "</span>";
    main +=
        meta.older.empty() ? "<span></span>" : "<a rel=\"next\" href=\"" + E(meta.older) + "\">Older photos &rarr;</a>";
    main += "</nav>\n";
  }
  return Document(meta, Header(&blog, true), main);
}

std::string PageBuilder::EntryPage(const BlogRecord& blog, const Entry& view) const {
  const EntryRecord& entry = view.entry;
  Meta meta;
  meta.title = EntryName(entry) + " \xC2\xB7 " + Heading(blog);
  meta.shareTitle = entry.title.empty() ? Heading(blog) : entry.title;
  meta.description = entry.caption.empty() ? "A photo by " + entry.authorName + " on " + Heading(blog)
                                           : HtmlText::Excerpt(entry.caption, kDescriptionBytes);
  meta.url = urls_.Preview(blog.url, entry.id);
  meta.image = &entry;
  meta.article = true;
  if (view.newer) meta.newer = urls_.Preview(blog.url, view.newer->id);
  if (view.older) meta.older = urls_.Preview(blog.url, view.older->id);

  std::string full = E(urls_.Photo(PhotoStore::FileName(entry.photoKey)));
  std::string main = "<article class=\"entry\">\n";
  if (!entry.title.empty()) main += "<h2>" + E(entry.title) + "</h2>\n";
  main += "<figure class=\"photo\"><a href=\"" + full + "\">" + MediumImage(entry, EntryName(entry), false) +
          "</a></figure>\n";
  if (!entry.caption.empty()) main += "<p class=\"caption\">" + HtmlText::WithLineBreaks(entry.caption) + "</p>\n";
  main += "<p class=\"byline\">By " + E(entry.authorName) + " &middot; " + When(entry.dateText, entry.dateText);
  if (view.category) {
    main += " &middot; in <a href=\"" + E(urls_.Category(blog.url, view.category->id)) + "\">" +
            E(view.category->name) + "</a>";
  }
  main += "</p>\n<p class=\"byline\"><a href=\"" + full + "\">Full-size photo</a>";
  if (entry.width > 0 && entry.height > 0) {
    main += " (" + std::to_string(entry.width) + " &times; " + std::to_string(entry.height) + ")";
  }
  main += "</p>\n";

  main += "<nav class=\"pager\">";
  main += view.newer
              ? "<a rel=\"prev\" href=\"" + E(meta.newer) + "\">&larr; Newer: " + E(EntryName(*view.newer)) + "</a>"
              : "<span></span>";
  main += view.older
              ? "<a rel=\"next\" href=\"" + E(meta.older) + "\">Older: " + E(EntryName(*view.older)) + " &rarr;</a>"
              : "<span></span>";
  main += "</nav>\n";

  main +=
      "<section class=\"comments\">\n<h3>" + Count(int64_t(view.comments.size()), "comment", "comments") + "</h3>\n";
  if (!view.comments.empty()) {
    main += "<ol>\n";
    for (const CommentRecord& comment : view.comments) {
      main += "<li><p>" + HtmlText::WithLineBreaks(comment.text) + "</p><p class=\"byline\">" + E(comment.authorName) +
              " &middot; " + When(comment.dateText, entry.dateText) + "</p></li>\n";
    }
    main += "</ol>\n";
  }
  main += "</section>\n</article>\n";
  return Document(meta, Header(&blog, true), main);
}

std::string PageBuilder::CategoriesPage(const BlogRecord& blog, const std::vector<Category>& categories) const {
  Meta meta;
  meta.title = "Categories \xC2\xB7 " + Heading(blog);
  meta.description = "The categories of " + Heading(blog);
  meta.url = urls_.Category(blog.url, 0);
  for (const Category& c : categories) {
    if (c.newest && meta.image == nullptr) meta.image = &*c.newest;
  }
  std::string main = "<h2>Categories</h2>\n";
  if (categories.empty()) {
    main += "<p class=\"note\">This blog has no categories.</p>\n";
  } else {
    main += "<ul class=\"grid\">\n";
    for (size_t i = 0; i < categories.size(); ++i) {
      const Category& c = categories[i];
      main += "<li><a href=\"" + E(urls_.Category(blog.url, c.category.id)) + "\">";
      if (c.newest) main += MediumImage(*c.newest, "", i >= kEagerTiles);
      main += "<span class=\"label\">" + E(c.category.name) + "<span class=\"count\">" +
              Count(c.entries, "photo", "photos") + "</span></span></a></li>\n";
    }
    main += "</ul>\n";
  }
  return Document(meta, Header(&blog, true), main);
}

std::string PageBuilder::PasswordPage(const BlogRecord& blog, const std::string& action, bool wrong) const {
  Meta meta;
  meta.title = "Password protected \xC2\xB7 " + blog.url;
  meta.noIndex = true;
  std::string main = "<div class=\"lock\">\n<h2>This blog is password protected</h2>\n";
  if (blog.viewPassword.empty()) {
    main += "<p>Only its owner and members can see it.</p>\n";
  } else {
    main += "<p>Enter the view password to see its photos.</p>\n";
    if (wrong) main += "<p class=\"error\" role=\"alert\">Wrong password. Please try again.</p>\n";
    main += "<form method=\"post\" action=\"" + E(action) +
            "\">\n<label for=\"password\">View password</label>\n"
            "<input type=\"password\" id=\"password\" name=\"password\" autocomplete=\"current-password\" required "
            "autofocus>\n<button type=\"submit\">Show the blog</button>\n</form>\n";
  }
  return Document(meta, Header(&blog, false), main + "</div>\n");
}

std::string PageBuilder::MessagePage(const BlogRecord* blog, const std::string& heading,
                                     const std::string& text) const {
  Meta meta;
  meta.title = blog != nullptr ? heading + " \xC2\xB7 " + Heading(*blog) : heading;
  meta.noIndex = true;
  return Document(meta, Header(blog, true), "<h2>" + E(heading) + "</h2>\n<p>" + E(text) + "</p>\n");
}

}  // namespace server
