#pragma once

#include <string_view>

namespace server {

// Outcome codes of the service's operations. 8000 to 8025 are the messages every
// client knows by their exact text; the codes from 9000 up carry texts of this
// service that a client shows as they are.
enum ServiceCode : int {
  kOk = 0,
  kInvalidVersion = 8000,
  kInvalidAuthentication = 8001,
  kEmailUsed = 8002,
  kBlogUrlUsed = 8003,
  kInvalidTimestamp = 8004,
  kCategoryUsed = 8005,
  kThisCategoryMissing = 8006,
  kACategoryMissing = 8007,
  kPictureLimit = 8008,
  kPictureMissing = 8009,
  kBlogMissing = 8010,
  kNoEditPicture = 8011,
  kNoEditCategory = 8012,
  kNoAddPicture = 8013,
  kNoAddCategory = 8014,
  kNoDeleteCategory = 8015,
  kNoDeletePicture = 8016,
  kEntryMissing = 8017,
  kCommentMissing = 8018,
  kNoEditComment = 8019,
  kNoPostComment = 8020,
  kNoDeleteComment = 8021,
  kPasswordProtected = 8022,
  kWrongViewPassword = 8023,
  kRemoteBlogFailed = 8025,
  kInvalidRequest = 9000,
  kNoEditBlog,
  kInvalidEmail,
  kInvalidPassword,
  kInvalidBlogUrl,
  kInvalidCategoryName,
  kInvalidDate,
  kTextTooLong,
  kNotJpeg,
  kInvalidRecipient,
  kStoreFailure,
  kPhotoTooLarge,
};

class ServiceMessages {
 public:
  // The exact text sent in <MS> for a code; never empty for a code other than kOk.
  static std::string_view Text(int code);
};

}  // namespace server
