#include "cli/EntryEditCommands.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <set>
#include <sstream>

#include "cli/BlogSelection.h"
#include "cli/CliUserInterface.h"
#include "cli/ModelJson.h"
#include "model/PhotoScan.h"
#include "model/UserInterface.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/TextConversion.h"
#include "platform/TimeValue.h"

namespace cli {

using model::CWinBlogEntry;
using model::CWinBlogStorage;
using json = nlohmann::ordered_json;

namespace {

// The limits of Edit Entry's fields, in characters.
constexpr size_t kMaxTitle = 49;
constexpr size_t kMaxCaption = 7999;
// A caption file is read no further than a caption can be long.
constexpr std::streamsize kMaxCaptionFileBytes = kMaxCaption * 4 + 1;

void Show(uint32_t id) {
  model::UserInterface::Current().ShowMessage(platform::LoadString(id), model::MessageIcon::Exclamation);
}

size_t Characters(const std::string& text) { return platform::Utf8ToUtf16(text).size(); }

// A category to file entries under: a name of the blog or "unfiled".
std::optional<uint32_t> TargetCategory(const CWinBlogStorage& blog, const std::string& name, std::ostream& err) {
  std::optional<uint32_t> id = BlogSelection::ParseCategory(blog, name);
  if (!id || *id == model::kAllCategories) {
    err << "tessary-cli: no category \"" << name << "\" (see `tessary-cli categories`)\n";
    return std::nullopt;
  }
  return id;
}

// "3,1,2" as 0-based indices of `count` items, in that order.
std::optional<std::vector<size_t>> ParsePicks(const std::string& text, size_t count, std::ostream& err) {
  std::vector<size_t> picks;
  std::set<size_t> seen;
  std::stringstream parts(text);
  std::string part;
  while (std::getline(parts, part, ',')) {
    char* end = nullptr;
    const unsigned long n = std::strtoul(part.c_str(), &end, 10);
    if (part.empty() || *end != '\0' || n == 0 || n > count) {
      err << "tessary-cli: --pick takes numbers of the list `import BLOG` prints (1 to " << count << "); not \""
          << part << "\"\n";
      return std::nullopt;
    }
    if (!seen.insert(n).second) {
      err << "tessary-cli: --pick names photo " << n << " twice\n";
      return std::nullopt;
    }
    picks.push_back(n - 1);
  }
  if (picks.empty()) {
    err << "tessary-cli: --pick needs at least one number\n";
    return std::nullopt;
  }
  return picks;
}

}  // namespace

std::optional<uint32_t> EntryEditCommands::ParseDate(const std::string& text, uint32_t base) {
  platform::SystemTime when;
  if (!platform::TimeValueToSystemTime(base, when)) when = platform::SystemTime{};
  unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  char separator = 0;
  int used = 0;
  if (std::sscanf(text.c_str(), "%4u-%2u-%2u%n", &year, &month, &day, &used) != 3) return std::nullopt;
  if (static_cast<size_t>(used) != text.size()) {
    const std::string rest = text.substr(static_cast<size_t>(used));
    int more = 0;
    const int fields = std::sscanf(rest.c_str(), "%c%2u:%2u%n:%2u%n", &separator, &hour, &minute, &more, &second, &more);
    if (fields < 3 || (separator != 'T' && separator != ' ') || static_cast<size_t>(more) != rest.size()) {
      return std::nullopt;
    }
    if (fields == 3) second = 0;
    when.hour = static_cast<uint16_t>(hour);
    when.minute = static_cast<uint16_t>(minute);
    when.second = static_cast<uint16_t>(second);
  }
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59) return std::nullopt;
  when.year = static_cast<uint16_t>(year);
  when.month = static_cast<uint16_t>(month);
  when.day = static_cast<uint16_t>(day);
  uint32_t value = 0;
  if (!platform::SystemTimeToTimeValue(when, value)) return std::nullopt;
  // A day the month does not have comes back as another day.
  platform::SystemTime check;
  if (!platform::TimeValueToSystemTime(value, check) || check.day != when.day || check.month != when.month) {
    return std::nullopt;
  }
  return value;
}

int EntryEditCommands::Edit(const std::string& blogName, const std::string& entryName, const Changes& changes,
                            bool asJson, std::ostream& out, std::ostream& err) {
  auto opened = BlogSelection::OpenBlog(blogName, err);
  if (!opened) return CliContext::kFailure;
  CWinBlogStorage& blog = *opened->blog;
  long position = -1;
  CWinBlogEntry* entry = BlogSelection::ResolveEntry(blog, entryName, position, err);
  if (entry == nullptr) return CliContext::kFailure;
  if (changes.title && Characters(*changes.title) > kMaxTitle) {
    err << "tessary-cli: a title has at most " << kMaxTitle << " characters\n";
    return CliContext::kUsage;
  }
  if (changes.caption && Characters(*changes.caption) > kMaxCaption) {
    err << "tessary-cli: a caption has at most " << kMaxCaption << " characters\n";
    return CliContext::kUsage;
  }
  std::optional<uint32_t> date;
  if (changes.date && !(date = ParseDate(*changes.date, entry->GetDate()))) {
    err << "tessary-cli: --date takes YYYY-MM-DD[THH:MM[:SS]] between 1904 and 2040; not \"" << *changes.date
        << "\"\n";
    return CliContext::kUsage;
  }
  std::optional<uint32_t> category;
  if (changes.category && !(category = TargetCategory(blog, *changes.category, err))) return CliContext::kUsage;

  const bool changed = (date && *date != entry->GetDate()) || (changes.title && *changes.title != entry->GetTitle()) ||
                       (changes.caption && *changes.caption != entry->GetCaption()) ||
                       (category && *category != entry->GetCategoryId());
  if (changed) {
    if (blog.IsEntryReadOnly(entry)) {
      Show(blog.IsEntryReadOnly(nullptr, true) ? platform::strings::kNoPermissionShort
                                               : platform::strings::kNotYourEntry);
      return CliContext::kFailure;
    }
    if (date && *date != entry->GetDate()) {
      entry->SetDate(*date);
      blog.ResortEntry(entry);
    }
    if (changes.title) entry->SetTitle(*changes.title);
    if (changes.caption) entry->SetCaption(*changes.caption);
    if (category) entry->SetCategoryId(*category);
    entry->SetModified(true);
    if (blog.Save() != 0) return CliContext::kFailure;
  }
  if (asJson) {
    json row = ModelJson::Entry(*entry);
    row["category"] = BlogSelection::CategoryName(blog, entry->GetCategoryId());
    row["changed"] = changed;
    out << ModelJson::Dump(row) << '\n';
  } else {
    out << (changed ? "Edited entry " : "Nothing changed in entry ") << entryName << " \"" << entry->GetTitle()
        << "\"\n";
  }
  return CliContext::kOk;
}

int EntryEditCommands::Categorize(const std::string& blogName, const std::string& to,
                                  const std::optional<std::string>& show, const std::optional<std::string>& category,
                                  bool asJson, std::ostream& out, std::ostream& err) {
  auto opened = BlogSelection::OpenBlog(blogName, err);
  if (!opened) return CliContext::kFailure;
  CWinBlogStorage& blog = *opened->blog;
  const std::optional<uint32_t> target = TargetCategory(blog, to, err);
  if (!target) return CliContext::kUsage;
  const uint32_t storedCategory = blog.GetCategoryFilter();
  const uint16_t storedShow = blog.GetShowFilter();
  std::optional<uint16_t> showFilter = show ? BlogSelection::ParseShow(*show) : storedShow;
  std::optional<uint32_t> categoryFilter = category ? BlogSelection::ParseCategory(blog, *category) : storedCategory;
  if (!showFilter || !categoryFilter) {
    err << "tessary-cli: " << (!showFilter ? "--show takes all, pending, published or mine"
                                           : "no category \"" + *category + "\"")
        << '\n';
    return CliContext::kUsage;
  }
  size_t filed = 0;
  bool skipped = false;
  // Entries already shown under the target category stay as they are.
  if (*target != *categoryFilter) {
    blog.SetFilters(*categoryFilter, *showFilter);
    std::vector<std::pair<CWinBlogEntry*, uint32_t>> before;
    for (const auto& e : blog.Entries()) {
      if (blog.IsShown(*e)) before.emplace_back(e.get(), e->GetCategoryId());
    }
    skipped = blog.CategorizeShown(blog.FindCategory(*target));
    blog.SetFilters(storedCategory, storedShow);
    for (const auto& [e, was] : before) filed += e->GetCategoryId() != was ? 1 : 0;
    if (filed != 0 && blog.Save() != 0) return CliContext::kFailure;
  }
  if (skipped) Show(platform::strings::kSomeNotCategorized);
  if (asJson) {
    out << ModelJson::Dump(json{{"category", BlogSelection::CategoryName(blog, *target)},
                                {"filed", filed},
                                {"skipped", skipped}})
        << '\n';
  } else {
    out << "Filed " << filed << (filed == 1 ? " entry" : " entries") << " under \""
        << BlogSelection::CategoryName(blog, *target) << "\"\n";
  }
  return skipped ? CliContext::kFailure : CliContext::kOk;
}

int EntryEditCommands::Import(const std::string& blogName, const std::string& pick, bool allNew, bool asJson,
                              std::ostream& out, std::ostream& err) {
  auto opened = BlogSelection::OpenBlog(blogName, err);
  if (!opened) return CliContext::kFailure;
  CWinBlogStorage& blog = *opened->blog;
  model::PhotoScan scan(&blog);
  scan.Collect(nullptr);
  const model::PhotoScan::Items& items = scan.GetItems();
  if (pick.empty() && !allNew) {
    json list = json::array();
    for (size_t i = 0; i < items.size(); ++i) {
      list.push_back({{"number", i + 1}, {"path", items[i]->Path()}, {"created", ModelJson::Time(items[i]->CreationTime())}});
    }
    if (asJson) {
      out << ModelJson::Dump(list) << '\n';
    } else {
      for (const auto& row : list) {
        out << row["number"] << "  " << row["created"]["local"].get<std::string>() << "  "
            << row["path"].get<std::string>() << '\n';
      }
      if (list.empty()) out << "No new photos on the device.\n";
    }
    return CliContext::kOk;
  }
  std::vector<size_t> chosen;
  if (allNew) {
    for (size_t i = 0; i < items.size(); ++i) chosen.push_back(i);
  } else {
    std::optional<std::vector<size_t>> picks = ParsePicks(pick, items.size(), err);
    if (!picks) return CliContext::kUsage;
    chosen = *picks;
  }
  if (blog.IsEntryReadOnly(nullptr, true)) {
    Show(platform::strings::kNoPermission);
    return CliContext::kFailure;
  }
  json added = json::array();
  int status = CliContext::kOk;
  for (size_t index : chosen) {
    auto entry = std::make_unique<CWinBlogEntry>();
    // A file that is not a JPEG photo has been named: on with the next.
    if (blog.NewLocalEntry(*entry, items[index]->Path()) != 0) {
      status = CliContext::kFailure;
      continue;
    }
    added.push_back(ModelJson::Entry(*entry));
    blog.InsertEntry(std::move(entry));
  }
  if (!added.empty() && blog.Save() != 0) return CliContext::kFailure;
  if (asJson) {
    out << ModelJson::Dump(added) << '\n';
  } else {
    for (const auto& row : added) {
      out << "Added " << row["photoPath"].get<std::string>() << " (" << row["date"]["local"].get<std::string>()
          << ") as a pending entry\n";
    }
  }
  return status;
}

void EntryEditCommands::Register(CLI::App& app, CliContext& ctx) {
  struct Args {
    std::string blog, entry, title, caption, captionFile, date, category, to, show, filter, pick;
    bool unfiled = false, allNew = false, list = false;
  };
  auto a = std::make_shared<Args>();
  auto run = [&ctx](std::function<int()> command) {
    ctx.run = [&ctx, command] {
      CliUserInterface ui(ctx.yes ? std::optional<bool>(true) : ctx.no ? std::optional<bool>(false) : std::nullopt);
      return command();
    };
  };

  CLI::App* edit = app.add_subcommand("edit", "Change an entry's title, caption, date or category");
  edit->fallthrough();
  edit->add_option("BLOG", a->blog, "Blog name")->required();
  edit->add_option("ENTRY", a->entry, "Service id, or #N as `entries` numbers it")->required();
  CLI::Option* title = edit->add_option("--title", a->title, "New title (at most 49 characters)");
  CLI::Option* caption = edit->add_option("--caption", a->caption, "New caption (at most 7999 characters)");
  CLI::Option* captionFile = edit->add_option("--caption-file", a->captionFile, "New caption from a file")
                                 ->check(CLI::ExistingFile)
                                 ->excludes(caption);
  CLI::Option* date = edit->add_option("--date", a->date, "New date: YYYY-MM-DD[THH:MM[:SS]], local time");
  CLI::Option* category = edit->add_option("--category", a->category, "Category name");
  edit->add_flag("--unfiled", a->unfiled, "File it under Unfiled")->excludes(category);
  edit->callback([&ctx, a, run, title, caption, captionFile, date, category] {
    Changes changes;
    if (*title) changes.title = a->title;
    if (*caption) changes.caption = a->caption;
    if (*date) changes.date = a->date;
    if (*category) changes.category = a->category;
    if (a->unfiled) changes.category = "unfiled";
    std::optional<std::string> file = *captionFile ? std::optional<std::string>(a->captionFile) : std::nullopt;
    run([&ctx, a, changes, file]() mutable {
      if (file) {
        std::ifstream in(*file, std::ios::binary);
        std::string text(static_cast<size_t>(kMaxCaptionFileBytes), '\0');
        in.read(text.data(), kMaxCaptionFileBytes);
        if (in.bad()) {
          std::cerr << "tessary-cli: cannot read " << *file << '\n';
          return CliContext::kUsage;
        }
        text.resize(static_cast<size_t>(in.gcount()));
        changes.caption = std::move(text);
      }
      return Edit(a->blog, a->entry, changes, ctx.json, std::cout, std::cerr);
    });
  });

  CLI::App* categorize = app.add_subcommand("categorize", "File entries under a category");
  categorize->fallthrough();
  categorize->add_option("BLOG", a->blog, "Blog name")->required();
  CLI::Option* to = categorize->add_option("--to", a->to, "Category name");
  CLI::Option* toUnfiled = categorize->add_flag("--unfiled", a->unfiled, "File them under Unfiled")->excludes(to);
  CLI::Option* show = categorize->add_option("--show", a->show, "Which entries: all, pending, published or mine");
  CLI::Option* among = categorize->add_option("--category", a->filter, "Which entries: all, unfiled or a category");
  categorize->footer("Without --show and --category: the entries the blog shows now.");
  categorize->callback([&ctx, a, run, to, toUnfiled, show, among] {
    if (!*to && !*toUnfiled) throw CLI::RequiredError("--to or --unfiled");
    const std::string target = a->unfiled ? "unfiled" : a->to;
    std::optional<std::string> shown = *show ? std::optional<std::string>(a->show) : std::nullopt;
    std::optional<std::string> filter = *among ? std::optional<std::string>(a->filter) : std::nullopt;
    run([&ctx, a, target, shown, filter] {
      return Categorize(a->blog, target, shown, filter, ctx.json, std::cout, std::cerr);
    });
  });

  CLI::App* import = app.add_subcommand("import", "List the device's photos a blog can take, or add some");
  import->fallthrough();
  import->add_option("BLOG", a->blog, "Blog name")->required();
  CLI::Option* listing = import->add_flag("--list", a->list, "List them, numbered, newest first (the default)");
  CLI::Option* picks = import->add_option("--pick", a->pick, "Add these (N,... of the list) in this order")
                           ->excludes(listing);
  import->add_flag("--all-new", a->allNew, "Add every photo of the list")->excludes(picks)->excludes(listing);
  import->callback([&ctx, a, run] {
    run([&ctx, a] { return Import(a->blog, a->pick, a->allNew, ctx.json, std::cout, std::cerr); });
    ctx.changesFiles = !a->pick.empty() || a->allNew;
  });
}

}  // namespace cli
