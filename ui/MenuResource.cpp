#include "ui/MenuResource.h"

#include "ui/CommandIds.h"
#include "platform/StringIds.h"

namespace ui {
namespace {

namespace c = commands;
namespace s = platform::strings;

const MenuItemResource kSeparator{};

MenuItemResource Item(uint32_t command, uint32_t label) { return {command, label, {}}; }

std::vector<MenuResource> BuildTable() {
  std::vector<MenuResource> table;
  table.push_back({128,
                   {s::kSync, c::kSyncHome, {}},
                   {s::kTools,
                    0,
                    {Item(c::kSubscribe, s::kSubscribeToBlog), Item(c::kCreateBlog, s::kCreateNewBlog),
                     Item(c::kEditBlogs, s::kEditBlogs), kSeparator, Item(c::kCameraPrefs, s::kCameraPrefs),
                     Item(c::kAccountInfo, s::kAccountInfo), Item(c::kFont, s::kFont), kSeparator,
                     Item(c::kCheckForUpdates, s::kCheckForUpdates), Item(c::kAbout, s::kAboutTessary),
                     kSeparator, Item(c::kExit, s::kExit)}}});
  MenuItemResource show{0, s::kShow,
                        {Item(c::kShowAll, s::kAll), Item(c::kShowPending, s::kPending),
                         Item(c::kShowPublished, s::kPublished),
                         Item(c::kShowPublishedByMe, s::kPublishedByMe)}};
  MenuItemResource category{0, s::kCategory,
                            {Item(c::kCategoryAll, s::kAll), Item(c::kCategoryUnfiled, s::kUnfiled),
                             Item(c::kEditCategories, s::kEditCategoriesEllipsis)}};
  MenuItemResource manage{0, s::kManage,
                          {Item(c::kCategorizeEntries, s::kCategorizeEntries),
                           Item(c::kDeleteEntries, s::kDeleteEntries), Item(c::kPurgePhotos, s::kPurgePhotos),
                           Item(c::kMovePhotos, s::kMovePhotos)}};
  table.push_back({129,
                   {s::kCamera, c::kCamera, {}},
                   {s::kTools,
                    0,
                    {Item(c::kSyncBlog, s::kSync), Item(c::kAddPhoto, s::kAddPhoto),
                     Item(c::kSendEmail, s::kSendBlogEmail), Item(c::kPostRemote, s::kPostRemoteEntryEllipsis),
                     kSeparator, show, category, kSeparator, manage, kSeparator,
                     Item(c::kBlogPrefs, s::kBlogPrefs)}}});
  table.push_back({148,
                   {s::kEdit, c::kEditEntry, {}},
                   {s::kTools,
                    0,
                    {Item(c::kDeleteEntry, s::kDeleteEntry), Item(c::kViewComments, s::kViewComments),
                     Item(c::kSendEmail, s::kSendPhotoEmail), Item(c::kPostRemote, s::kPostRemoteEntry),
                     kSeparator, Item(c::kDownloadPhoto, s::kDownloadPhoto),
                     Item(c::kPurgePhoto, s::kPurgePhoto)}}});
  table.push_back({189, {s::kNext, c::kNext, {}}, {s::kCancel, c::kCancel, {}}});
  table.push_back({190, {s::kOk, c::kOk, {}}, {s::kCancel, c::kCancel, {}}});
  table.push_back({191, {s::kOk, c::kOk, {}}, {}});
  table.push_back({192, {s::kCreate, c::kOk, {}}, {s::kCancel, c::kCancel, {}}});
  table.push_back({194,
                   {s::kOk, c::kOk, {}},
                   {s::kTools,
                    0,
                    {Item(c::kDialogSync, s::kSync), Item(c::kDialogDelete, s::kDelete),
                     Item(c::kDialogEditCategories, s::kEditCategoriesKey), Item(c::kCancel, s::kCancel)}}});
  table.push_back({195,
                   {s::kDone, c::kOk, {}},
                   {s::kTools,
                    0,
                    {Item(c::kDialogUnsubscribe, s::kUnsubscribe), Item(c::kDialogBlogPrefs, s::kBlogPrefs)}}});
  table.push_back({196, {s::kOk, c::kOk, {}}, {s::kDownload, c::kDialogDownload, {}}});
  table.push_back({197,
                   {s::kDone, c::kOk, {}},
                   {s::kOptions,
                    0,
                    {Item(c::kDialogNew, s::kNew), Item(c::kDialogEdit, s::kEdit),
                     Item(c::kDialogDelete, s::kDelete)}}});
  table.push_back({198,
                   {s::kDone, c::kOk, {}},
                   {s::kTools, 0, {Item(c::kDialogAdd, s::kAdd), Item(c::kDialogDelete, s::kDelete)}}});
  table.push_back({199,
                   {s::kDone, c::kOk, {}},
                   {s::kTools,
                    0,
                    {Item(c::kDialogAdd, s::kAdd), Item(c::kDialogDelete, s::kDelete),
                     Item(c::kDialogView, s::kView)}}});
  table.push_back({200, {s::kPublish, c::kOk, {}}, {s::kCancel, c::kCancel, {}}});
  table.push_back({201, {s::kCancel, c::kCancel, {}}, {}});
  // The camera screen: take the photo / Cancel.
  table.push_back({202, {s::kTakePhoto, c::kOk, {}}, {s::kCancel, c::kCancel, {}}});
  // The keys of a Yes/No message box.
  table.push_back({0xF100, {s::kYes, c::kYes, {}}, {s::kNo, c::kNo, {}}});
  return table;
}

}  // namespace

const MenuResource* MenuResource::Find(uint32_t id) {
  static const std::vector<MenuResource> table = BuildTable();
  for (const MenuResource& bar : table) {
    if (bar.id == id) return &bar;
  }
  return nullptr;
}

}  // namespace ui
