#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The service's error vocabulary: the server texts of an answer's <MS> element and
// the table that turns any result code into the message the user sees.
namespace service {

inline constexpr uint32_t kServerErrorFirst = 8000;
inline constexpr uint32_t kErrInvalidVersion = 8000;
inline constexpr uint32_t kErrInvalidAuthentication = 8001;
inline constexpr uint32_t kErrInvalidTimestamp = 8004;
inline constexpr uint32_t kErrThisCategoryDeleted = 8006;
inline constexpr uint32_t kErrCategoryDeleted = 8007;
inline constexpr uint32_t kErrPictureLimit = 8008;
inline constexpr uint32_t kErrPictureDeleted = 8009;
inline constexpr uint32_t kErrNoEditPicture = 8011;
inline constexpr uint32_t kErrNoEditCategory = 8012;
inline constexpr uint32_t kErrNoAddPicture = 8013;
inline constexpr uint32_t kErrNoAddCategory = 8014;
inline constexpr uint32_t kErrNoDeleteCategory = 8015;
inline constexpr uint32_t kErrNoDeletePicture = 8016;
inline constexpr uint32_t kErrNoEditComment = 8019;
inline constexpr uint32_t kErrNoPostComment = 8020;
inline constexpr uint32_t kErrCommentDeleted = 8018;
inline constexpr uint32_t kErrNoDeleteComment = 8021;
inline constexpr uint32_t kErrPasswordProtected = 8022;
inline constexpr uint32_t kErrWrongViewPassword = 8023;
inline constexpr uint32_t kErrGroupLimit = 8024;
inline constexpr uint32_t kErrRemotePostFailed = 8025;
inline constexpr uint32_t kErrUnknownServerMessage = 65535;
inline constexpr uint32_t kResultInvalidJpeg = 10200;
inline constexpr uint32_t kResultAlreadyReported = 10201;
inline constexpr uint32_t kResultPhotoMissing = 11000;
// The service refused a new entry with a text of its own (its photo, say); the
// entry stays pending and the sync goes on without it.
inline constexpr uint32_t kResultPhotoRefused = 11001;
inline constexpr uint32_t kCreateFailed = static_cast<uint32_t>(-10300);
inline constexpr uint32_t kCreateEmailUsed = static_cast<uint32_t>(-10301);
inline constexpr uint32_t kCreateBlogUrlUsed = static_cast<uint32_t>(-10302);

class ServiceErrors {
 public:
  // The code of a server message text (8000 + its place in the list, compared
  // without regard to letter case), or 65535 for a text not in the list.
  static uint32_t CodeOfServerText(std::string_view text);
  // The message for a code: its table text, the empty text for the codes whose
  // server text is shown instead, or "An unknown error occurred (%d)." otherwise.
  static std::string GetErrorText(uint32_t code);
  // The common error message for a result nobody has shown yet: the code's text
  // (or the unknown-error text when the table has none of its own) in a warning
  // box. Success, a cancel and results already shown show nothing.
  static void ShowUnreported(uint32_t code);
  // A sync that ended on a transport failure (`transportFailure` not 0) and has
  // not been reported otherwise shows "A connection to the Internet could not be
  // made." once and answers 10201; any other result comes back unchanged.
  static uint32_t ReportSyncTransportFailure(uint32_t code, uint32_t transportFailure);
  // "An unknown error occurred (%d)." with the code as a signed number.
  static std::string UnknownErrorText(uint32_t code);
};

}  // namespace service
