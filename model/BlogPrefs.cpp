#include "model/BlogPrefs.h"

#include "model/CWinBlogStorage.h"
#include "model/ModelConstants.h"
#include "model/UserInterface.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace model {

BlogPrefs BlogPrefs::Of(const CBlogInfo& info) {
  BlogPrefs prefs;
  prefs.uploadSize = info.uploadSize;
  prefs.downloadSize = info.downloadSize;
  prefs.limitEntries = info.limitEntries;
  prefs.entryLimit = info.entryLimit;
  prefs.deleteAfterUpload = info.deleteAfterUpload;
  prefs.title = info.title;
  prefs.subtitle = info.subtitle;
  prefs.visible = info.hidden == 0;
  return prefs;
}

void BlogPrefs::StoreSyncSettings(CBlogInfo& info) const {
  info.uploadSize = uploadSize;
  info.downloadSize = downloadSize;
  info.limitEntries = limitEntries;
  info.entryLimit = entryLimit;
  info.deleteAfterUpload = deleteAfterUpload;
}

void BlogPrefs::Apply(CWinBlogStorage& blog, bool ownerSettings, const Question& ask) const {
  CBlogInfo& info = *blog.GetBlogInfo();
  bool changed = false;
  if (ownerSettings) {
    if (title != info.title) {
      info.title = title;
      changed = true;
    }
    if (subtitle != info.subtitle) {
      info.subtitle = subtitle;
      changed = true;
    }
    if (visible != (info.hidden == 0)) {
      info.hidden = visible ? 0 : 1;
      changed = true;
    }
  }
  if (info.limitEntries && info.entryLimit < entryLimit) blog.SetLastSync(0);
  if (downloadSize == kSizeThumbnails && info.downloadSize > kSizeThumbnails) {
    const std::string& question = platform::LoadString(platform::strings::kAskThumbnailsOnly);
    if (ask ? ask(question) : UserInterface::Current().AskYesNo(question)) blog.PurgeAllPhotos();
  }
  StoreSyncSettings(info);
  if (changed) info.SetModified(true);
}

}  // namespace model
