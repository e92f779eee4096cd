#include "server/DemoSeeder.h"

#include <ctime>
#include <string>
#include <vector>

#include "TessaryVersion.h"
#include "server/BlogStore.h"
#include "server/ContentStore.h"
#include "server/DataFolder.h"
#include "server/JpegCodec.h"
#include "server/PhotoStore.h"
#include "server/PublishedFileStore.h"
#include "server/ServiceMessages.h"
#include "server/SyntheticPhoto.h"
#include "server/Timestamp.h"
#include "server/Transaction.h"
#include "server/UserStore.h"

namespace server {

namespace {

struct DemoEntry {
  const char* title;
  const char* caption;
  const char* category;  // nullptr: unfiled
  bool byFriend;
};

struct DemoBlog {
  const char* url;
  const char* title;
  const char* subtitle;
  bool friendOwns;
  bool group;
  bool hidden;
  std::vector<const char*> categories;
  std::vector<DemoEntry> entries;
};

const std::vector<DemoBlog>& Blogs() {
  static const std::vector<DemoBlog> blogs = {
      {"demo-travel", "Travels", "Places seen on the way", false, false, false, {"Mountains", "Coast"},
       {{"Morning over the pass", "First light on the ridge.", "Mountains", false},
        {"Harbour evening", "Boats coming home & gulls <everywhere>.", "Coast", false},
        {"Valley road", "Somewhere between two villages.", nullptr, false}}},
      {"demo-garden", "The Garden", "What grows behind the house", false, false, false, {"Spring"},
       {{"Snow on the beds", "Winter keeps the garden quiet.", nullptr, false},
        {"First green", "The hedge is waking up.", "Spring", false}}},
      {"demo-group", "Walking Club", "Photos from everyone's walks", true, true, false, {},
       {{"Group hike", "All of us on the hill.", nullptr, true}, {"Lunch stop", "Sandwiches with a view.", nullptr, false}}},
      {"demo-hidden", "Family Only", "Password protected", true, false, true, {},
       {{"Birthday", "Cake before the walk.", nullptr, true}}},
  };
  return blogs;
}

std::string DateText(int64_t unixSeconds) {
  std::string text = Timestamp::FormatUtc(unixSeconds);
  text.pop_back();
  return text + "+0000";
}

}  // namespace

int DemoSeeder::Seed(const std::filesystem::path& dataDir, std::ostream& out, std::ostream& err) {
  Database db;
  std::string error;
  if (!DataFolder::Open(dataDir, db, error)) {
    err << error << "\n";
    return 1;
  }
  PhotoStore photos(DataFolder::Photos(dataDir));
  // Photos are written before the transaction, as uploads are.
  std::vector<PhotoStore::Stored> stored;
  uint32_t seed = 1;
  for (const DemoBlog& blog : Blogs()) {
    for (size_t i = 0; i < blog.entries.size(); ++i) {
      std::string jpeg;
      PhotoStore::Stored photo;
      if (!JpegCodec::Encode(SyntheticPhoto::Landscape(1024, 768, seed++), 90, jpeg) ||
          photos.Store(jpeg, photo) != kOk) {
        err << "cannot write the demo photos\n";
        for (const auto& s : stored) photos.Remove(s.key);
        return 1;
      }
      stored.push_back(photo);
    }
  }
  auto discard = [&] {
    for (const auto& s : stored) photos.Remove(s.key);
  };

  int64_t now = static_cast<int64_t>(std::time(nullptr));
  Transaction tx(db);
  UserStore users(db);
  BlogStore blogs(db);
  ContentStore content(db);
  PublishedFileStore files(db);
  if (users.FindByEmail(kEmail)) {
    err << "the demo account exists already\n";
    discard();
    return 1;
  }
  UserRecord demo{0, kEmail, kPassword, "Dana", "Demo", false, 500};
  UserRecord friendUser{0, kFriendEmail, kFriendPassword, "Sam", "Friend", true, 0};
  demo.id = users.Add(demo, now);
  friendUser.id = users.Add(friendUser, now);
  bool ok = demo.id != 0 && friendUser.id != 0 && users.AddRemoteBlog(demo.id, "dana-elsewhere");

  size_t photo = 0;
  int64_t when = now - 86400 * 20;
  for (const DemoBlog& spec : Blogs()) {
    if (!ok) break;
    BlogRecord blog;
    blog.url = spec.url;
    blog.title = spec.title;
    blog.subtitle = spec.subtitle;
    blog.owner = spec.friendOwns ? friendUser.id : demo.id;
    blog.group = spec.group;
    blog.hidden = spec.hidden;
    blog.viewPassword = spec.hidden ? kViewPassword : "";
    blog.id = blogs.Add(blog, now);
    ok = blog.id != 0 && users.Subscribe(blog.owner, blog.id);
    if (ok && spec.group) ok = blogs.AddMember(blog.id, demo.id);
    // The demo account follows every demo blog, the hidden one included.
    if (ok && spec.friendOwns) ok = users.Subscribe(demo.id, blog.id);
    std::vector<std::pair<std::string, int64_t>> categories;
    for (const char* name : spec.categories) {
      int64_t id = ok ? content.AddCategory(blog.id, name, now) : 0;
      ok = id != 0;
      categories.emplace_back(name, id);
    }
    for (const DemoEntry& e : spec.entries) {
      if (!ok) break;
      EntryRecord entry;
      entry.blog = blog.id;
      entry.author = e.byFriend ? friendUser.id : demo.id;
      for (const auto& [name, id] : categories) {
        if (e.category != nullptr && name == e.category) entry.category = id;
      }
      entry.title = e.title;
      entry.caption = e.caption;
      when += 86400 * 2;
      entry.dateText = DateText(when);
      entry.date2Text = entry.dateText;
      entry.sortTime = when;
      entry.photoKey = stored[photo].key;
      entry.width = stored[photo].width;
      entry.height = stored[photo].height;
      ++photo;
      entry.id = content.AddEntry(entry, now);
      ok = entry.id != 0;
      CommentRecord comment;
      comment.blog = blog.id;
      comment.entry = entry.id;
      comment.author = e.byFriend ? demo.id : friendUser.id;
      comment.dateText = Timestamp::FormatUtc(when + 3600);
      comment.text = e.byFriend ? "Lovely, thanks for sharing!" : "Wish I had been there.";
      if (ok) ok = content.AddComment(comment, now) != 0;
    }
  }
  if (ok && !files.Get(PublishedFileStore::kMessages)) {
    ok = files.Set(PublishedFileStore::kMessages,
                   std::string("<VERS>") + TESSARY_VERSION +
                       "</VERS>\r\n<NOTE><N>1</N><M>Welcome to the Tessary demo service.</M><A></A></NOTE>\r\n");
  }
  if (ok && !files.Get(PublishedFileStore::kChannels)) {
    ok = files.Set(PublishedFileStore::kChannels,
                   "<CHAN>\r\ndemo-travel Travels: places seen on the way\r\n"
                   "demo-garden The Garden: what grows behind the house\r\n</CHAN>\r\n");
  }
  if (!ok || !tx.Commit()) {
    err << "the store could not be written\n";
    discard();
    return 1;
  }
  out << "demo account: " << kEmail << " / " << kPassword << "\n"
      << "second account: " << kFriendEmail << " / " << kFriendPassword << "\n"
      << "blogs: demo-travel, demo-garden, demo-group (group), demo-hidden (view password '" << kViewPassword
      << "')\n";
  return 0;
}

}  // namespace server
