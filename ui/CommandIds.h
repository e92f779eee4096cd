#pragma once

#include <cstdint>

// Command numbers of the main window's soft-key bars and of the dialog bars.
namespace ui::commands {

inline constexpr uint32_t kOk = 1;
inline constexpr uint32_t kCancel = 2;
inline constexpr uint32_t kYes = 6;
inline constexpr uint32_t kNo = 7;
inline constexpr uint32_t kCloseViewer = 103;
inline constexpr uint32_t kNext = 1031;
inline constexpr uint32_t kExit = 57665;  // the frame's standard exit command

inline constexpr uint32_t kSyncHome = 32792;
inline constexpr uint32_t kSubscribe = 32790;
inline constexpr uint32_t kCreateBlog = 32789;
inline constexpr uint32_t kEditBlogs = 32791;
inline constexpr uint32_t kCameraPrefs = 32872;
inline constexpr uint32_t kAccountInfo = 32838;
inline constexpr uint32_t kFont = 32783;
inline constexpr uint32_t kCheckForUpdates = 32780;
inline constexpr uint32_t kAbout = 32779;

inline constexpr uint32_t kHome = 32804;
inline constexpr uint32_t kCamera = 32805;
inline constexpr uint32_t kSyncBlog = 32807;
inline constexpr uint32_t kAddPhoto = 32813;
inline constexpr uint32_t kSendEmail = 32871;
inline constexpr uint32_t kPostRemote = 32866;
inline constexpr uint32_t kShowAll = 32831;
inline constexpr uint32_t kShowPending = 32832;
inline constexpr uint32_t kShowPublished = 32833;
inline constexpr uint32_t kShowPublishedByMe = 32847;
inline constexpr uint32_t kCategoryAll = 32834;
inline constexpr uint32_t kCategoryUnfiled = 32835;
inline constexpr uint32_t kCategoryFirst = 5000;
inline constexpr uint32_t kCategoryLast = 5256;
inline constexpr uint32_t kEditCategories = 5257;
inline constexpr uint32_t kCategorizeEntries = 32864;
inline constexpr uint32_t kDeleteEntries = 32802;
inline constexpr uint32_t kPurgePhotos = 32803;
inline constexpr uint32_t kMovePhotos = 32865;
inline constexpr uint32_t kBlogPrefs = 32801;

inline constexpr uint32_t kEditEntry = 32823;
inline constexpr uint32_t kDeleteEntry = 32861;
inline constexpr uint32_t kViewComments = 32874;
inline constexpr uint32_t kCaption = 32849;
inline constexpr uint32_t kDownloadPhoto = 32820;
inline constexpr uint32_t kPurgePhoto = 32821;
inline constexpr uint32_t kPreviousEntry = 32826;
inline constexpr uint32_t kNextEntry = 32827;

inline constexpr uint32_t kDialogSync = 1076;
inline constexpr uint32_t kDialogDelete = 1064;
inline constexpr uint32_t kDialogEditCategories = 32851;
inline constexpr uint32_t kDialogUnsubscribe = 1110;
inline constexpr uint32_t kDialogBlogPrefs = 1065;
inline constexpr uint32_t kDialogDownload = 1037;
inline constexpr uint32_t kDialogNew = 32842;
inline constexpr uint32_t kDialogEdit = 32843;
inline constexpr uint32_t kDialogAdd = 1133;
inline constexpr uint32_t kDialogView = 32875;

}  // namespace ui::commands
