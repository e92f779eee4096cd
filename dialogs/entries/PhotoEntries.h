#pragma once

#include <string>

namespace model {
class CWinBlogEntry;
}
namespace ui {
struct CommandContext;
}

namespace dialogs {

// How photos become entries of the current blog: from the camera (the capture
// loop, and the later answer of an asynchronous camera) and from the photo
// picker.
class PhotoEntries {
 public:
  // Makes a pending entry of the photo file at the phone path `path`, adds it to
  // the blog and saves; then opens the entry editor on it, or else selects its
  // cell. Null when no entry could be made (the user has been told).
  static model::CWinBlogEntry* AddPhotoEntry(const ui::CommandContext& ctx, const std::string& path,
                                             bool openEditor);
  // Camera (32805): the capture loop with "Stay In Camera" and "Show Edit Dialog".
  static void TakePhotos(const ui::CommandContext& ctx);
  // A photo an asynchronous camera took (empty: none), for the blog on screen.
  static void CameraAnswer(const ui::CommandContext& ctx, const std::string& path);
  // Add Photo (32813): the picker, then an entry for each photo ticked.
  static void AddPhotos(const ui::CommandContext& ctx);
  // The entry editor over the view; answers its result.
  static int EditEntry(const ui::CommandContext& ctx, model::CWinBlogEntry& entry);
};

}  // namespace dialogs
