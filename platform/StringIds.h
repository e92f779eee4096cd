#pragma once

#include <cstdint>

// The one catalogue of string-table ids, for the core and both front ends:
// soft-key labels, menu items, view texts, progress texts and messages.
namespace platform::strings {


inline constexpr uint32_t kSync = 21001;
inline constexpr uint32_t kTools = 21002;
inline constexpr uint32_t kCamera = 21003;
inline constexpr uint32_t kEdit = 21004;
inline constexpr uint32_t kCancel = 21005;
inline constexpr uint32_t kOk = 21006;
inline constexpr uint32_t kNext = 21007;
inline constexpr uint32_t kCreate = 21008;
inline constexpr uint32_t kDone = 21009;
inline constexpr uint32_t kPublish = 21010;
inline constexpr uint32_t kDownload = 21011;
inline constexpr uint32_t kOptions = 21012;
inline constexpr uint32_t kDelete = 21013;
inline constexpr uint32_t kEditCategoriesKey = 21014;
inline constexpr uint32_t kUnsubscribe = 21015;
inline constexpr uint32_t kBlogPrefs = 21016;
inline constexpr uint32_t kNew = 21017;
inline constexpr uint32_t kAdd = 21018;
inline constexpr uint32_t kView = 21019;

inline constexpr uint32_t kSubscribeToBlog = 21020;
inline constexpr uint32_t kCreateNewBlog = 21021;
inline constexpr uint32_t kEditBlogs = 21022;
inline constexpr uint32_t kCameraPrefs = 21023;
inline constexpr uint32_t kAccountInfo = 21024;
inline constexpr uint32_t kFont = 21025;
inline constexpr uint32_t kCheckForUpdates = 21026;
inline constexpr uint32_t kAboutTessary = 21027;
inline constexpr uint32_t kExit = 21028;

inline constexpr uint32_t kAddPhoto = 21030;
inline constexpr uint32_t kSendBlogEmail = 21031;
inline constexpr uint32_t kPostRemoteEntryEllipsis = 21032;
inline constexpr uint32_t kShow = 21033;
inline constexpr uint32_t kAll = 21034;
inline constexpr uint32_t kPending = 21035;
inline constexpr uint32_t kPublished = 21036;
inline constexpr uint32_t kPublishedByMe = 21037;
inline constexpr uint32_t kCategory = 21038;
inline constexpr uint32_t kUnfiled = 21039;
inline constexpr uint32_t kEditCategoriesEllipsis = 21040;
inline constexpr uint32_t kManage = 21041;
inline constexpr uint32_t kCategorizeEntries = 21042;
inline constexpr uint32_t kDeleteEntries = 21043;
inline constexpr uint32_t kPurgePhotos = 21044;
inline constexpr uint32_t kMovePhotos = 21045;

inline constexpr uint32_t kDeleteEntry = 21050;
inline constexpr uint32_t kViewComments = 21051;
inline constexpr uint32_t kSendPhotoEmail = 21052;
inline constexpr uint32_t kPostRemoteEntry = 21053;
inline constexpr uint32_t kDownloadPhoto = 21054;
inline constexpr uint32_t kPurgePhoto = 21055;

inline constexpr uint32_t kPhotoCountOne = 21060;
inline constexpr uint32_t kPhotoCountMany = 21061;
inline constexpr uint32_t kByAuthor = 21062;
inline constexpr uint32_t kProgressTitle = 21063;
inline constexpr uint32_t kHintNoBlogs = 21064;
inline constexpr uint32_t kHintNoEntries = 21065;
inline constexpr uint32_t kHintNoEntriesReadOnly = 21066;
inline constexpr uint32_t kHintFilterEmpty = 21067;
inline constexpr uint32_t kYes = 21068;
inline constexpr uint32_t kNo = 21069;

inline constexpr uint32_t kSocketStartFailed = 21100;
inline constexpr uint32_t kWrongDeviceType = 21101;
inline constexpr uint32_t kPurgePhotoQuestion = 21110;

// Account screens.
inline constexpr uint32_t kWelcomeHeading = 21120;
inline constexpr uint32_t kWelcomeText = 21121;
inline constexpr uint32_t kCreateNewAccount = 21122;
inline constexpr uint32_t kEnterLoginInfo = 21123;
inline constexpr uint32_t kCreateStep1Text = 21124;
inline constexpr uint32_t kEmailLabel = 21125;
inline constexpr uint32_t kPasswordLabel = 21126;
inline constexpr uint32_t kCreateStep2Text = 21127;
inline constexpr uint32_t kFirstNameLabel = 21128;
inline constexpr uint32_t kLastNameLabel = 21129;
inline constexpr uint32_t kCreateStep3Text = 21130;
inline constexpr uint32_t kBlogUrlLabel = 21131;
inline constexpr uint32_t kBlogUrlPrefix = 21132;
inline constexpr uint32_t kTitleLabel = 21133;
inline constexpr uint32_t kSubtitleLabel = 21134;
inline constexpr uint32_t kLoginText = 21135;
inline constexpr uint32_t kAccountInfoText = 21136;
inline constexpr uint32_t kAccountLabel = 21137;
inline constexpr uint32_t kTrial = 21138;
inline constexpr uint32_t kPhotosMax = 21139;
inline constexpr uint32_t kProAccount = 21140;
inline constexpr uint32_t kUnlimitedPhotos = 21141;
inline constexpr uint32_t kProgramTitle = 21142;

// Texts shared with the account and sync code.
inline constexpr uint32_t kSynchronizing = 145;
inline constexpr uint32_t kCheckingVersion = 153;
inline constexpr uint32_t kCreatingAccount = 151;
inline constexpr uint32_t kCreatingBlog = 603;
inline constexpr uint32_t kSyncCancelled = 7998;
inline constexpr uint32_t kBadLogin = 23004;
inline constexpr uint32_t kNeedNames = 23005;
inline constexpr uint32_t kBadBlogUrl = 23006;
inline constexpr uint32_t kEmailUsed = 23007;
inline constexpr uint32_t kBlogUrlUsed = 23008;
inline constexpr uint32_t kDefaultBlogTitle = 23017;
inline constexpr uint32_t kDefaultBlogSubtitle = 23018;
inline constexpr uint32_t kLatestVersion = 23003;
inline constexpr uint32_t kAlreadyHaveSize = 23013;
inline constexpr uint32_t kSyncBeforeComment = 23014;
inline constexpr uint32_t kSyncBeforeSend = 23015;
inline constexpr uint32_t kNoRemoteBlogs = 23016;

// Service steps and their failures.
inline constexpr uint32_t kConnecting = 309;
inline constexpr uint32_t kCannotConnect = 700;
inline constexpr uint32_t kInternetUnavailable = 8500;
inline constexpr uint32_t kUnknownError = 7999;
inline constexpr uint32_t kNoMemory = 23002;

// Blog database, photo files and categories.
inline constexpr uint32_t kSaveFailed = 22100;
inline constexpr uint32_t kCategoryExists = 22101;
inline constexpr uint32_t kSomeNotCategorized = 22102;
inline constexpr uint32_t kWriteProtected = 22103;
inline constexpr uint32_t kNoSpace = 22104;
inline constexpr uint32_t kAskDeletePhotos = 22105;
inline constexpr uint32_t kNoPermission = 22106;
inline constexpr uint32_t kAskDeleteCategory = 22107;
inline constexpr uint32_t kAskPurgePhotos = 22108;
inline constexpr uint32_t kWaitingForOtherProgram = 22110;
inline constexpr uint32_t kNotJpeg = 22111;
inline constexpr uint32_t kUnsentPhotos = 22112;

// Subscriptions, blogs and comments.
inline constexpr uint32_t kAskUnsubscribe = 182;
inline constexpr uint32_t kAskSubscribe = 23000;
inline constexpr uint32_t kAskNewSubscriptions = 23001;
inline constexpr uint32_t kBlogCreated = 23009;
inline constexpr uint32_t kEnterBlogUrl = 23010;
inline constexpr uint32_t kAlreadySubscribed = 23011;
inline constexpr uint32_t kAskThumbnailsOnly = 23012;
inline constexpr uint32_t kConfirmDeleteBlog = 23019;
inline constexpr uint32_t kSelectItemFirst = 23020;
inline constexpr uint32_t kCommentLocked = 23021;
inline constexpr uint32_t kAskDeleteComment = 23022;
inline constexpr uint32_t kNeedAddress = 23023;

// Photo housekeeping, photo mail and remote post screens.
inline constexpr uint32_t kDeletePhotosTitle = 21600;
inline constexpr uint32_t kMoveFromLabel = 21601;
inline constexpr uint32_t kToLabel = 21602;
inline constexpr uint32_t kInternalStorage = 21603;
inline constexpr uint32_t kDownloadLabel = 21604;
inline constexpr uint32_t kFullSize = 21605;
inline constexpr uint32_t kMovingPhotos = 21606;
inline constexpr uint32_t kSameLocation = 21607;
inline constexpr uint32_t kNoStorageCard = 21608;
inline constexpr uint32_t kPhotoEmailTitle = 21609;
inline constexpr uint32_t kSendingLabel = 21610;
inline constexpr uint32_t kBlogLink = 21611;
inline constexpr uint32_t kPhotoLink = 21612;
inline constexpr uint32_t kMessageLabel = 21613;
inline constexpr uint32_t kNeedsNewerSystem = 21614;
inline constexpr uint32_t kBlogLabel = 21615;
inline constexpr uint32_t kPostLabel = 21616;
inline constexpr uint32_t kSyncCategoryBeforeSend = 21617;
inline constexpr uint32_t kContactsTitle = 21618;
inline constexpr uint32_t kLabel176x132 = 143;
inline constexpr uint32_t kLabel240x180 = 144;
inline constexpr uint32_t kLabel320x240 = 137;
inline constexpr uint32_t kLabel480x360 = 138;
inline constexpr uint32_t kLabel640x480 = 139;
// Blog management screens.
inline constexpr uint32_t kSizeText320x240 = 137;
inline constexpr uint32_t kSizeText480x360 = 138;
inline constexpr uint32_t kSizeText640x480 = 139;
inline constexpr uint32_t kSizeTextFullPhotos = 140;
inline constexpr uint32_t kSizeTextNothing = 141;
inline constexpr uint32_t kSizeTextThumbnails = 142;
inline constexpr uint32_t kSizeText176x132 = 143;
inline constexpr uint32_t kSizeText240x180 = 144;
inline constexpr uint32_t kSubscribeTitle = 24000;
inline constexpr uint32_t kSubscribeText = 24001;
inline constexpr uint32_t kBrowse = 24002;
inline constexpr uint32_t kReviewSyncSettings = 24003;
inline constexpr uint32_t kLimitEntriesLabel = 24005;
inline constexpr uint32_t kDeleteAfterUpload = 24006;
inline constexpr uint32_t kUploadLabel = 24007;
inline constexpr uint32_t kRecommendedBlogs = 24008;
inline constexpr uint32_t kCreateBlogTitle = 24009;
inline constexpr uint32_t kConfirmDelete = 24010;
inline constexpr uint32_t kDeletePhotosOnDevice = 24011;
inline constexpr uint32_t kOwnerSettings = 24012;
inline constexpr uint32_t kShowOnTessary = 24013;
inline constexpr uint32_t kPasswordRequired = 24014;
inline constexpr uint32_t kViewPasswordText = 24015;
inline constexpr uint32_t kNeedPassword = 24016;
inline constexpr uint32_t kSizeTextFull = 24017;

// Comment screens.
inline constexpr uint32_t kComments = 24020;
inline constexpr uint32_t kAddComment = 24021;
inline constexpr uint32_t kViewComment = 24022;
inline constexpr uint32_t kCommentHeader = 24023;
inline constexpr uint32_t kNewCommentAuthor = 24024;
inline constexpr uint32_t kOneMonthAgo = 24025;
inline constexpr uint32_t kMonthsAgo = 24026;
inline constexpr uint32_t kOneDayAgo = 24027;
inline constexpr uint32_t kDaysAgo = 24028;
inline constexpr uint32_t kOneHourAgo = 24029;
inline constexpr uint32_t kHoursAgo = 24030;
inline constexpr uint32_t kOneMinuteAgo = 24031;
inline constexpr uint32_t kMinutesAgo = 24032;
inline constexpr uint32_t kLessThanAMinuteAgo = 24033;

// Choose Font, New Version Available, About Tessary.
inline constexpr uint32_t kChooseFont = 24040;
inline constexpr uint32_t kFontNameLabel = 24041;
inline constexpr uint32_t kSizeLabel = 24042;
inline constexpr uint32_t kStyles = 24043;
inline constexpr uint32_t kBold = 24044;
inline constexpr uint32_t kItalic = 24045;
inline constexpr uint32_t kUnderline = 24046;
inline constexpr uint32_t kClearType = 24047;
inline constexpr uint32_t kNewVersionAvailable = 24048;
inline constexpr uint32_t kNewVersionText = 24049;
inline constexpr uint32_t kNewVersionLine = 24050;
inline constexpr uint32_t kDontShowAgain = 24051;
inline constexpr uint32_t kAboutVersion = 24052;
// Camera, the photo picker, entry editing and categories.
inline constexpr uint32_t kAddPhotos = 308;
inline constexpr uint32_t kSearching = 24600;
inline constexpr uint32_t kCameraTitle = 24601;
inline constexpr uint32_t kNoSupportedCamera = 24602;
inline constexpr uint32_t kCameraFailedToStart = 24603;
inline constexpr uint32_t kTakePhoto = 24604;
inline constexpr uint32_t kCaptionTitle = 24610;
inline constexpr uint32_t kEditEntryTitle = 24611;
inline constexpr uint32_t kDateLabel = 24612;
inline constexpr uint32_t kTimeLabel = 24613;
inline constexpr uint32_t kCategoryLabel = 24614;
inline constexpr uint32_t kCaptionLabel = 24615;
inline constexpr uint32_t kNoPermissionShort = 24616;
inline constexpr uint32_t kNotYourEntry = 24617;
inline constexpr uint32_t kDeleteEntriesTitle = 24620;
inline constexpr uint32_t kAskDeleteShown = 24621;
inline constexpr uint32_t kDeleteEntriesOnWeb = 24622;
inline constexpr uint32_t kDeleteShownPhotosOnDevice = 24623;
inline constexpr uint32_t kEntriesStayOnWeb = 24624;
inline constexpr uint32_t kAskDeleteEntry = 24625;
inline constexpr uint32_t kDeleteEntryOnWeb = 24626;
inline constexpr uint32_t kEntryStaysOnWeb = 24627;
inline constexpr uint32_t kDeletePhotoOnDevice = 24628;
inline constexpr uint32_t kCategorizeText = 24630;
inline constexpr uint32_t kEditCategoriesHeading = 24631;
inline constexpr uint32_t kCategoryNameTitle = 24632;
inline constexpr uint32_t kEnterCategoryName = 24633;
inline constexpr uint32_t kTooManyNewCategories = 24634;
inline constexpr uint32_t kCameraPreferences = 24640;
inline constexpr uint32_t kShowEditDialog = 24641;
inline constexpr uint32_t kStayInCameraUntilCancel = 24642;
inline constexpr uint32_t kOpenCameraOnLaunch = 24643;

}  // namespace platform::strings
