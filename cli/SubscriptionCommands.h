#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <optional>
#include <string>

#include "cli/CliContext.h"

namespace model {
class CWinBlogStorage;
}

namespace cli {

// `tessary-cli subscribe | unsubscribe | blog-prefs`: the blog management screens.
class SubscriptionCommands {
 public:
  static void Register(CLI::App& app, CliContext& ctx);

  // The sync settings a command line may change; unset ones stay.
  struct SyncSettings {
    std::optional<uint16_t> upload;
    std::optional<uint16_t> download;
    std::optional<uint16_t> limit;  // 0 with noLimit
    bool noLimit = false;
    std::optional<bool> deleteAfterUpload;
  };
  // Owner settings of the full Blog Prefs layout; unset ones stay.
  struct OwnerSettings {
    std::optional<std::string> urlName;
    std::optional<std::string> title;
    std::optional<std::string> subtitle;
    std::optional<bool> visible;
  };
  // The Blog Prefs rules on OK: owner changes mark the blog modified, raising a
  // limit that was on asks for a full download, switching to thumbnails asks
  // whether to delete the photos.
  static void ApplyBlogPrefs(model::CWinBlogStorage& blog, const SyncSettings& sync,
                             const OwnerSettings& owner);
};

}  // namespace cli
