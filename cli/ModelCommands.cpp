#include "cli/ModelCommands.h"

#include <fcntl.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>

#include "cli/BlogSelection.h"
#include "cli/CliProgress.h"
#include "cli/CliUserInterface.h"
#include "cli/ModelJson.h"
#include "image/ImageInformation.h"
#include "model/CWinBlogUser.h"
#include "model/NoCase.h"
#include "model/UserInterface.h"
#include "platform/DeviceFileSystem.h"
#include "platform/ErrorCodes.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/TextConversion.h"
#include "platform/TimeValue.h"

namespace cli {

using model::CWinBlogEntry;
using model::CWinBlogStorage;
using json = nlohmann::ordered_json;

namespace {

// Longest category name the device accepts.
constexpr size_t kMaxCategoryName = 99;

void Show(uint32_t id, model::MessageIcon icon) {
  model::UserInterface::Current().ShowMessage(platform::LoadString(id), icon);
}

// The named category of a blog the user may change; null after saying why not.
model::CWinBlogAlbum* FindEditableCategory(CWinBlogStorage& blog, const std::string& name,
                                           std::ostream& err) {
  if (blog.IsEntryReadOnly(nullptr)) {
    Show(platform::strings::kNoPermission, model::MessageIcon::Exclamation);
    return nullptr;
  }
  model::CWinBlogAlbum* category = blog.FindCategoryByName(name);
  if (category == nullptr) err << "tessary-cli: no category \"" << name << "\"\n";
  return category;
}

// Saves the blog; the database reports a failure itself.
int SaveBlog(CWinBlogStorage& blog) {
  return blog.Save() == 0 ? CliContext::kOk : CliContext::kFailure;
}

const char* StateOf(const CWinBlogEntry& e) {
  if (e.IsRemoved()) return "removed";
  return e.IsModified() ? (e.HasId() ? "edited" : "pending") : "published";
}

// Whether a file of this computer is a JPEG photo, as the core tells it.
bool IsHostJpegPhoto(const std::string& hostPath) {
  const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  platform::File file(fd, hostPath);
  return image::IsJpegPhoto(file);
}

// Copies a photo of this computer into the blog's photo folder and answers the
// new phone path, keeping its last-write time (the entry's date).
uint32_t ImportHostPhoto(CWinBlogStorage& blog, const std::string& hostPath, std::string& phone) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(hostPath, ec)) return platform::kErrFileNotFound;
  if (!IsHostJpegPhoto(hostPath)) return model::kResultNotJpeg;
  if (uint32_t rc = blog.ComputePhotoFolder(); rc != 0) return rc;
  platform::DeviceFileSystem& fs = platform::DeviceFileSystem::Current();
  const std::filesystem::path source(hostPath);
  std::string stem = source.stem().string();
  std::string ext = source.extension().string();
  phone = platform::JoinPhonePath(blog.GetPhotoFolder(), stem + ext);
  for (int n = 1; fs.Exists(phone); ++n) {
    phone = platform::JoinPhonePath(blog.GetPhotoFolder(), stem + "_" + std::to_string(n) + ext);
  }
  if (!platform::IsPlainFileName(platform::PhoneFileName(phone))) return platform::kErrInvalidName;
  std::ifstream in(hostPath, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
  std::unique_ptr<platform::File> file;
  uint32_t rc = fs.OpenFile(phone, platform::OpenMode::CreateNew, file);
  if (rc != 0) return rc;
  rc = file->Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
  if (rc == 0) rc = file->Close();
  file.reset();
  if (rc != 0) {
    fs.DeleteFile(phone);
    return rc;
  }
  auto mtime = std::filesystem::last_write_time(source, ec);
  if (!ec) {
    auto since = std::chrono::file_clock::to_sys(mtime).time_since_epoch();
    auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since).count();
    fs.SetLastWriteTime(phone, platform::LocalTimeValueFromUnix(static_cast<std::time_t>(seconds)));
  }
  return 0;
}

// "internal" is main memory ("\"); anything else names a storage card.
std::optional<std::string> LocationRoot(const std::string& name, std::ostream& err) {
  if (model::EqualsNoCase(name, "internal")) return std::string("\\");
  std::string wanted = name;
  while (!wanted.empty() && wanted.front() == '\\') wanted.erase(0, 1);
  std::vector<platform::FileInfo> items;
  platform::DeviceFileSystem::Current().Enumerate("\\", items);
  for (const auto& item : items) {
    if (item.isDirectory && item.isTemporary && model::EqualsNoCase(item.name, wanted)) {
      return "\\" + item.name;
    }
  }
  err << "tessary-cli: \"" << name << "\" is neither internal nor a storage card\n";
  return std::nullopt;
}

std::optional<bool> Answer(const CliContext& ctx) {
  if (ctx.yes) return true;
  if (ctx.no) return false;
  return std::nullopt;
}

}  // namespace

int ModelCommands::Blogs(bool asJson, std::ostream& out, std::ostream&) {
  auto user = BlogSelection::LoadAccount();
  json list = json::array();
  for (const auto& blog : user->Blogs()) {
    size_t pending = 0;
    size_t shown = 0;
    for (const auto& e : blog->Entries()) {
      if (e->IsRemoved()) continue;
      ++shown;
      if (e->IsModified()) ++pending;
    }
    list.push_back({{"urlName", blog->Info().urlName},
                    {"title", blog->Info().title},
                    {"entries", shown},
                    {"pending", pending},
                    {"categories", blog->GetCategoryCount()},
                    {"readOnly", blog->Info().readOnly},
                    {"path", blog->GetPath()}});
  }
  if (asJson) {
    out << ModelJson::Dump(list) << '\n';
    return CliContext::kOk;
  }
  for (const auto& b : list) {
    out << b["urlName"].get<std::string>() << "  \"" << b["title"].get<std::string>() << "\"  "
        << b["entries"] << " entries, " << b["pending"] << " pending"
        << (b["readOnly"].get<bool>() ? "  [read-only]" : "") << '\n';
  }
  if (list.empty()) out << "No blogs.\n";
  return CliContext::kOk;
}

int ModelCommands::Entries(const std::string& blogName, const std::string& show,
                           const std::string& category, bool asJson, std::ostream& out,
                           std::ostream& err) {
  auto opened = BlogSelection::OpenBlog(blogName, err);
  if (!opened) return CliContext::kFailure;
  CWinBlogStorage& blog = *opened->blog;
  std::optional<uint16_t> showFilter = BlogSelection::ParseShow(show);
  std::optional<uint32_t> categoryFilter = BlogSelection::ParseCategory(blog, category);
  if (!showFilter || !categoryFilter) {
    err << "tessary-cli: " << (!showFilter ? "--show takes all, pending, published or mine"
                                           : "no category \"" + category + "\"")
        << '\n';
    return CliContext::kUsage;
  }
  // Positions are those of the default listing, whatever the filters.
  std::vector<CWinBlogEntry*> all = BlogSelection::DefaultListing(blog);
  blog.SetFilters(*categoryFilter, *showFilter);
  json list = json::array();
  for (size_t i = 0; i < all.size(); ++i) {
    if (!blog.IsShown(*all[i])) continue;
    json row = ModelJson::Entry(*all[i]);
    row["position"] = i + 1;
    row["category"] = BlogSelection::CategoryName(blog, all[i]->GetCategoryId());
    row["state"] = StateOf(*all[i]);
    list.push_back(std::move(row));
  }
  if (asJson) {
    out << ModelJson::Dump(list) << '\n';
    return CliContext::kOk;
  }
  for (const auto& row : list) {
    out << '#' << row["position"] << "  id " << row["id"] << "  "
        << row["date"]["local"].get<std::string>() << "  " << row["state"].get<std::string>()
        << "  [" << row["category"].get<std::string>() << "]  "
        << row["title"].get<std::string>();
    if (!row["photoPath"].get<std::string>().empty()) out << "  " << row["photoPath"].get<std::string>();
    out << '\n';
  }
  if (list.empty()) out << "No entries.\n";
  return CliContext::kOk;
}

int ModelCommands::Categories(const std::string& blogName, bool asJson, std::ostream& out,
                              std::ostream& err) {
  auto opened = BlogSelection::OpenBlog(blogName, err);
  if (!opened) return CliContext::kFailure;
  json list = json::array();
  for (const auto& c : opened->blog->Categories()) {
    json row = ModelJson::Category(*c);
    size_t count = 0;
    for (const auto& e : opened->blog->Entries()) {
      if (!e->IsRemoved() && e->GetCategoryId() == c->GetId()) ++count;
    }
    row["entries"] = count;
    list.push_back(std::move(row));
  }
  if (asJson) {
    out << ModelJson::Dump(list) << '\n';
    return CliContext::kOk;
  }
  for (const auto& row : list) {
    out << row["name"].get<std::string>() << "  id " << row["id"] << "  " << row["entries"]
        << " entries" << (row["modified"].get<bool>() ? "  [changed]" : "") << '\n';
  }
  if (list.empty()) out << "No categories.\n";
  return CliContext::kOk;
}

int ModelCommands::Add(const std::string& blogName, const std::vector<std::string>& photos,
                       const std::string& title, const std::string& caption,
                       const std::string& category, bool asJson, std::ostream& out,
                       std::ostream& err) {
  auto opened = BlogSelection::OpenBlog(blogName, err);
  if (!opened) return CliContext::kFailure;
  CWinBlogStorage& blog = *opened->blog;
  if (blog.IsEntryReadOnly(nullptr, true)) {
    Show(platform::strings::kNoPermission, model::MessageIcon::Exclamation);
    return CliContext::kFailure;
  }
  std::optional<uint32_t> categoryId;
  if (!category.empty()) {
    categoryId = BlogSelection::ParseCategory(blog, category);
    if (!categoryId || *categoryId == model::kAllCategories) {
      err << "tessary-cli: no category \"" << category << "\"\n";
      return CliContext::kUsage;
    }
  }
  platform::DeviceFileSystem& fs = platform::DeviceFileSystem::Current();
  json added = json::array();
  int status = CliContext::kOk;
  for (const std::string& photo : photos) {
    std::string phone = photo;
    const bool imported = photo.empty() || photo[0] != '\\';
    if (imported) {
      if (uint32_t rc = ImportHostPhoto(blog, photo, phone); rc != 0) {
        if (rc == model::kResultNotJpeg) {
          model::UserInterface::Current().ShowMessage(platform::FormatText(platform::strings::kNotJpeg, {photo}),
                                                      model::MessageIcon::Exclamation);
        } else {
          err << "tessary-cli: cannot copy " << photo << " into the blog (error " << rc << ")\n";
        }
        status = CliContext::kFailure;
        continue;
      }
    } else if (!fs.Exists(phone) || fs.IsDirectory(phone)) {
      err << "tessary-cli: no photo file " << phone << " on the device\n";
      status = CliContext::kFailure;
      continue;
    } else if (blog.HasPhoto(platform::Utf8ToUtf16(phone))) {
      err << "tessary-cli: " << phone << " is already an entry of this blog\n";
      status = CliContext::kFailure;
      continue;
    }
    auto entry = std::make_unique<CWinBlogEntry>();
    if (blog.NewLocalEntry(*entry, phone) != 0) {
      if (imported) fs.DeleteFile(phone);
      status = CliContext::kFailure;
      continue;
    }
    if (!title.empty()) entry->SetTitle(title);
    if (!caption.empty()) entry->SetCaption(caption);
    if (categoryId) entry->SetCategoryId(*categoryId);
    added.push_back(ModelJson::Entry(*entry));
    blog.InsertEntry(std::move(entry));
  }
  if (!added.empty() && SaveBlog(blog) != CliContext::kOk) return CliContext::kFailure;
  if (asJson) {
    out << ModelJson::Dump(added) << '\n';
  } else {
    for (const auto& row : added) {
      out << "Added " << row["photoPath"].get<std::string>() << " ("
          << row["date"]["local"].get<std::string>() << ") as a pending entry\n";
    }
  }
  return status;
}

int ModelCommands::CategoryAdd(const std::string& blogName, const std::string& name,
                               std::ostream& out, std::ostream& err) {
  auto opened = BlogSelection::OpenBlog(blogName, err);
  if (!opened) return CliContext::kFailure;
  CWinBlogStorage& blog = *opened->blog;
  if (blog.IsEntryReadOnly(nullptr)) {
    Show(platform::strings::kNoPermission, model::MessageIcon::Exclamation);
    return CliContext::kFailure;
  }
  if (platform::Utf8ToUtf16(name).size() > kMaxCategoryName) {
    err << "tessary-cli: a category name has at most " << kMaxCategoryName << " characters\n";
    return CliContext::kUsage;
  }
  if (blog.CategoryNameExists(name)) {
    Show(platform::strings::kCategoryExists, model::MessageIcon::Error);
    return CliContext::kFailure;
  }
  const uint32_t id = blog.NextLocalCategoryId();
  if (id == 0) {
    Show(platform::strings::kTooManyNewCategories, model::MessageIcon::Exclamation);
    return CliContext::kFailure;
  }
  auto category = std::make_unique<model::CWinBlogAlbum>();
  category->SetId(id);
  category->SetName(name);
  blog.InsertCategory(std::move(category));
  if (SaveBlog(blog) != CliContext::kOk) return CliContext::kFailure;
  out << "Added category \"" << name << "\"\n";
  return CliContext::kOk;
}

int ModelCommands::CategoryRename(const std::string& blogName, const std::string& name,
                                  const std::string& newName, std::ostream& out,
                                  std::ostream& err) {
  auto opened = BlogSelection::OpenBlog(blogName, err);
  if (!opened) return CliContext::kFailure;
  CWinBlogStorage& blog = *opened->blog;
  model::CWinBlogAlbum* category = FindEditableCategory(blog, name, err);
  if (category == nullptr) return CliContext::kFailure;
  if (platform::Utf8ToUtf16(newName).size() > kMaxCategoryName) {
    err << "tessary-cli: a category name has at most " << kMaxCategoryName << " characters\n";
    return CliContext::kUsage;
  }
  if (newName == category->GetName()) return CliContext::kOk;
  if (!model::EqualsNoCase(newName, category->GetName()) && blog.CategoryNameExists(newName)) {
    Show(platform::strings::kCategoryExists, model::MessageIcon::Error);
    return CliContext::kFailure;
  }
  category->SetName(newName);
  category->SetModified(true);
  if (SaveBlog(blog) != CliContext::kOk) return CliContext::kFailure;
  out << "Renamed category \"" << name << "\" to \"" << newName << "\"\n";
  return CliContext::kOk;
}

int ModelCommands::CategoryDelete(const std::string& blogName, const std::string& name,
                                  std::ostream& out, std::ostream& err) {
  auto opened = BlogSelection::OpenBlog(blogName, err);
  if (!opened) return CliContext::kFailure;
  CWinBlogStorage& blog = *opened->blog;
  model::CWinBlogAlbum* category = FindEditableCategory(blog, name, err);
  if (category == nullptr) return CliContext::kFailure;
  if (!model::UserInterface::Current().AskYesNo(platform::LoadString(platform::strings::kAskDeleteCategory))) {
    return CliContext::kOk;
  }
  blog.RemoveCategory(*category, false);
  if (SaveBlog(blog) != CliContext::kOk) return CliContext::kFailure;
  out << "Deleted category \"" << name << "\"; its entries are Unfiled\n";
  return CliContext::kOk;
}

int ModelCommands::Delete(const std::string& blogName, const std::string& entryName, bool onWeb,
                          bool photo, std::ostream& out, std::ostream& err) {
  auto opened = BlogSelection::OpenBlog(blogName, err);
  if (!opened) return CliContext::kFailure;
  CWinBlogStorage& blog = *opened->blog;
  long position = -1;
  CWinBlogEntry* entry = BlogSelection::ResolveEntry(blog, entryName, position, err);
  if (entry == nullptr) return CliContext::kFailure;
  if (blog.IsEntryReadOnly(entry)) {
    Show(platform::strings::kNoPermission, model::MessageIcon::Exclamation);
    return CliContext::kFailure;
  }
  const std::string title = entry->GetTitle();
  blog.DiscardEntry(entry, onWeb, photo, position);
  if (SaveBlog(blog) != CliContext::kOk) return CliContext::kFailure;
  const uint32_t rc = blog.PhotoDeletionResult();
  if (rc != 0) err << "tessary-cli: the photo file could not be deleted (error " << rc << ")\n";
  out << "Deleted entry " << entryName << " \"" << title << "\""
      << (onWeb ? " (the next sync deletes it on the web)" : " from this device") << '\n';
  return rc == 0 ? CliContext::kOk : CliContext::kFailure;
}

int ModelCommands::PurgeEntry(const std::string& blogName, const std::string& entryName, std::ostream& out,
                              std::ostream& err) {
  auto opened = BlogSelection::OpenBlog(blogName, err);
  if (!opened) return CliContext::kFailure;
  CWinBlogStorage& blog = *opened->blog;
  long position = -1;
  CWinBlogEntry* entry = BlogSelection::ResolveEntry(blog, entryName, position, err);
  if (entry == nullptr) return CliContext::kFailure;
  if (!model::UserInterface::Current().AskYesNo(platform::LoadString(platform::strings::kPurgePhotoQuestion))) {
    return CliContext::kOk;
  }
  if (!entry->HasId()) {
    out << "Entry " << entryName << " is pending: its photo stays until it is sent\n";
    return CliContext::kOk;
  }
  if (entry->photoPath.empty()) {
    out << "Entry " << entryName << " has no photo file\n";
    return CliContext::kOk;
  }
  blog.DeletePhotoAtSave(*entry);
  if (SaveBlog(blog) != CliContext::kOk) return CliContext::kFailure;
  if (const uint32_t rc = blog.PhotoDeletionResult(); rc != 0) {
    err << "tessary-cli: the photo file could not be deleted (error " << rc << ")\n";
    return CliContext::kFailure;
  }
  out << "Deleted the photo file of entry " << entryName << '\n';
  return CliContext::kOk;
}

int ModelCommands::Purge(const std::string& blogName, std::ostream& out, std::ostream& err) {
  auto opened = BlogSelection::OpenBlog(blogName, err);
  if (!opened) return CliContext::kFailure;
  CWinBlogStorage& blog = *opened->blog;
  if (!model::UserInterface::Current().AskYesNo(platform::LoadString(platform::strings::kAskPurgePhotos))) {
    return CliContext::kOk;
  }
  blog.SetFilters(model::kAllCategories, model::kShowAll);
  // Pending entries keep their photos; only published ones count.
  auto withPhotos = [&blog](bool published) {
    size_t count = 0;
    for (const auto& e : blog.Entries()) count += !e->photoPath.empty() && e->HasId() == published ? 1 : 0;
    return count;
  };
  const size_t before = withPhotos(true);
  blog.PurgeShownPhotos();
  if (SaveBlog(blog) != CliContext::kOk) return CliContext::kFailure;
  const size_t after = withPhotos(true);
  out << "Deleted " << (before - after) << " photo files";
  if (after != 0) out << "; " << after << " could not be deleted";
  if (const size_t pending = withPhotos(false); pending != 0) out << "; " << pending << " pending kept";
  out << '\n';
  return after == 0 ? CliContext::kOk : CliContext::kFailure;
}

int ModelCommands::Move(const std::string& blogName, const std::string& from,
                        const std::string& to, model::ProgressReporter* progress,
                        std::ostream& out, std::ostream& err) {
  auto opened = BlogSelection::OpenBlog(blogName, err);
  if (!opened) return CliContext::kFailure;
  if (CWinBlogStorage::StorageCards().empty()) {
    Show(platform::strings::kNoStorageCard, model::MessageIcon::Exclamation);
    return CliContext::kFailure;
  }
  std::optional<std::string> source = LocationRoot(from, err);
  std::optional<std::string> destination = LocationRoot(to, err);
  if (!source || !destination) return CliContext::kUsage;
  if (*source == *destination) {
    Show(platform::strings::kSameLocation, model::MessageIcon::Exclamation);
    return CliContext::kUsage;
  }
  CWinBlogStorage& blog = *opened->blog;
  blog.SetFilters(model::kAllCategories, model::kShowAll);
  uint32_t rc = blog.MovePhotos(progress, *source, *destination);
  if (const uint32_t deleted = blog.PhotoDeletionResult(); deleted != 0) {
    err << "tessary-cli: a moved photo's old file could not be deleted (error " << deleted << ")\n";
  }
  switch (rc) {
    case 0:
      out << "Moved the photos of " << blogName << " to " << to << '\n';
      return CliContext::kOk;
    case platform::kErrCancelled:
      return CliContext::kCancelled;
    case platform::kErrAccessDenied:
    case platform::kErrWriteProtect:
    case platform::kErrDriveLocked:
      Show(platform::strings::kWriteProtected, model::MessageIcon::Error);
      return CliContext::kFailure;
    case platform::kErrNotEnoughMemory:
    case platform::kErrHandleDiskFull:
    case platform::kErrDiskFull:
      Show(platform::strings::kNoSpace, model::MessageIcon::Error);
      return CliContext::kFailure;
    default:
      err << "tessary-cli: moving the photos failed (error " << rc << ")\n";
      return CliContext::kFailure;
  }
}

void ModelCommands::Register(CLI::App& app, CliContext& ctx) {
  struct Args {
    std::string blog, show = "all", category = "all", title, caption, name, newName, entry, from,
                      to;
    std::vector<std::string> photos;
    bool onWeb = false, photo = false;
  };
  auto a = std::make_shared<Args>();
  // Runs a command with the command line's answers to questions.
  auto run = [&ctx](std::function<int()> command) {
    ctx.run = [&ctx, command] {
      CliUserInterface ui(Answer(ctx));
      return command();
    };
  };

  app.add_subcommand("blogs", "List the blogs on the device")->fallthrough()->callback([&ctx, run] {
    run([&ctx] { return Blogs(ctx.json, std::cout, std::cerr); });
    ctx.changesFiles = false;
  });

  CLI::App* entries = app.add_subcommand("entries", "List a blog's entries");
  entries->fallthrough();
  entries->add_option("BLOG", a->blog, "Blog name")->required();
  entries->add_option("--show", a->show, "all, pending, published or mine");
  entries->add_option("--category", a->category, "all, unfiled or a category name");
  entries->callback([&ctx, a, run] {
    run([&ctx, a] { return Entries(a->blog, a->show, a->category, ctx.json, std::cout, std::cerr); });
    ctx.changesFiles = false;
  });

  CLI::App* categories = app.add_subcommand("categories", "List a blog's categories");
  categories->fallthrough();
  categories->add_option("BLOG", a->blog, "Blog name")->required();
  categories->callback([&ctx, a, run] {
    run([&ctx, a] { return Categories(a->blog, ctx.json, std::cout, std::cerr); });
    ctx.changesFiles = false;
  });

  CLI::App* add = app.add_subcommand("add", "Add photos to a blog as pending entries");
  add->fallthrough();
  add->add_option("BLOG", a->blog, "Blog name")->required();
  add->add_option("PHOTO", a->photos, "Device path (\\...) or a file of this computer")->required();
  add->add_option("--title", a->title, "Title of the new entries");
  add->add_option("--caption", a->caption, "Caption of the new entries");
  add->add_option("--category", a->category, "Category name or unfiled");
  add->callback([&ctx, a, run] {
    std::string category = a->category == "all" ? "" : a->category;
    run([&ctx, a, category] {
      return Add(a->blog, a->photos, a->title, a->caption, category, ctx.json, std::cout, std::cerr);
    });
  });

  CLI::App* category = app.add_subcommand("category", "Add, rename or delete a category");
  category->fallthrough();
  category->require_subcommand(1);
  CLI::App* catAdd = category->add_subcommand("add", "Add a category");
  catAdd->fallthrough();
  catAdd->add_option("BLOG", a->blog, "Blog name")->required();
  catAdd->add_option("NAME", a->name, "Category name")->required();
  catAdd->callback(
      [a, run] { run([a] { return CategoryAdd(a->blog, a->name, std::cout, std::cerr); }); });
  CLI::App* catRename = category->add_subcommand("rename", "Rename a category");
  catRename->fallthrough();
  catRename->add_option("BLOG", a->blog, "Blog name")->required();
  catRename->add_option("NAME", a->name, "Category name")->required();
  catRename->add_option("NEW", a->newName, "New name")->required();
  catRename->callback([a, run] {
    run([a] { return CategoryRename(a->blog, a->name, a->newName, std::cout, std::cerr); });
  });
  CLI::App* catDelete = category->add_subcommand("delete", "Delete a category (entries become Unfiled)");
  catDelete->fallthrough();
  catDelete->add_option("BLOG", a->blog, "Blog name")->required();
  catDelete->add_option("NAME", a->name, "Category name")->required();
  catDelete->callback(
      [a, run] { run([a] { return CategoryDelete(a->blog, a->name, std::cout, std::cerr); }); });

  CLI::App* del = app.add_subcommand("delete", "Delete an entry from the device or from the web");
  del->fallthrough();
  del->add_option("BLOG", a->blog, "Blog name")->required();
  del->add_option("ENTRY", a->entry, "Service id, or #N as `entries` numbers it")->required();
  del->add_flag("--on-web", a->onWeb, "Delete it on the web at the next sync");
  del->add_flag("--photo", a->photo, "Delete its photo file too");
  del->callback([a, run] {
    run([a] { return Delete(a->blog, a->entry, a->onWeb, a->photo, std::cout, std::cerr); });
  });

  CLI::App* purge = app.add_subcommand("purge", "Delete a blog's photo files, keeping thumbnails");
  purge->fallthrough();
  purge->add_option("BLOG", a->blog, "Blog name")->required();
  purge->add_option("--entry", a->entry, "Only this entry's photo: service id, or #N as `entries` numbers it");
  purge->callback([a, run] {
    run([a] {
      return a->entry.empty() ? Purge(a->blog, std::cout, std::cerr)
                              : PurgeEntry(a->blog, a->entry, std::cout, std::cerr);
    });
  });

  CLI::App* move = app.add_subcommand("move", "Move a blog's photos between main memory and a card");
  move->fallthrough();
  move->add_option("BLOG", a->blog, "Blog name")->required();
  move->add_option("--from", a->from, "internal or a storage card's name")->required();
  move->add_option("--to", a->to, "internal or a storage card's name")->required();
  move->callback([a, run] {
    run([a] {
      CliProgress progress;
      int status = Move(a->blog, a->from, a->to, &progress, std::cout, std::cerr);
      progress.Finish();
      return status;
    });
  });
}

}  // namespace cli
