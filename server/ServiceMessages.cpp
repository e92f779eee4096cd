#include "server/ServiceMessages.h"

namespace server {

std::string_view ServiceMessages::Text(int code) {
  switch (code) {
    case kOk: return {};
    case kInvalidVersion: return "Error: Invalid Version";
    case kInvalidAuthentication: return "Error: Invalid Authentication";
    case kEmailUsed: return "Error: Email already used";
    case kBlogUrlUsed: return "Error: BlogURL already used";
    case kInvalidTimestamp: return "Error: Invalid timestamp";
    case kCategoryUsed: return "Error: Category already used";
    case kThisCategoryMissing: return "Error: This category is deleted or doesn't exist";
    case kACategoryMissing: return "Error: A category is deleted or doesn't exist";
    case kPictureLimit: return "Error: Your Picture limit is over";
    case kPictureMissing: return "Error: This picture is deleted or doesn't exist";
    case kBlogMissing: return "Error: A blog doesn't exist";
    case kNoEditPicture: return "Error: You have not permission to edit a picture";
    case kNoEditCategory: return "Error: You have not permission to edit a category";
    case kNoAddPicture: return "Error: You have not permission to add a picture";
    case kNoAddCategory: return "Error: You have not permission to add a category";
    case kNoDeleteCategory: return "Error: You have not permission to delete a category";
    case kNoDeletePicture: return "Error: You have not permission to delete a picture";
    case kEntryMissing: return "Error: An entry is deleted or doesn't exist";
    case kCommentMissing: return "Error: This comment is deleted or doesn't exist";
    case kNoEditComment: return "Error: You have not permission to edit a comment";
    case kNoPostComment: return "Error: You have not permission to post a comment";
    case kNoDeleteComment: return "Error: You have not permission to delete a comment";
    case kPasswordProtected: return "Error: The Blog is password protected";
    case kWrongViewPassword: return "Error: Enter valid viewer password";
    case kRemoteBlogFailed: return "Error: A connection to your blog could not be made so the photo is not posted";
    case kNoEditBlog: return "Error: You have not permission to edit a blog";
    case kInvalidEmail: return "Error: Invalid email address";
    case kInvalidPassword: return "Error: Invalid password";
    case kInvalidBlogUrl: return "Error: Invalid BlogURL";
    case kInvalidCategoryName: return "Error: Invalid category name";
    case kInvalidDate: return "Error: Invalid date";
    case kTextTooLong: return "Error: Text too long";
    case kNotJpeg: return "Error: The photo is not a JPEG";
    case kInvalidRecipient: return "Error: Invalid recipient address";
    case kStoreFailure: return "Error: The service could not store the request";
    case kPhotoTooLarge: return "Error: The photo is too large";
    default: return "Error: Invalid request";
  }
}

}  // namespace server
