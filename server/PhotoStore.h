#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "server/DecodeGate.h"

namespace server {

// The photo folder DIR/photos. Each uploaded photo gets a random key and three
// files: "KEY.jpg" (the upload as sent), "KEY_m.jpg" (480 pixels on the longest
// side) and "KEY_t.jpg" (the thumbnail). File names are made only from keys, so
// nothing built here can leave the folder.
class PhotoStore {
 public:
  static constexpr int kMediumSide = 480;
  static constexpr int kThumbnailSide = 96;
  static constexpr int kRenditionQuality = 85;

  explicit PhotoStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

  bool Init();

  struct Stored {
    std::string key;
    int width = 0;
    int height = 0;
  };
  // Checks that the bytes are a decodable JPEG of at most JpegCodec::kMaxPixels
  // and writes the three files. Answers kOk, kNotJpeg, kPhotoTooLarge or
  // kStoreFailure (ServiceCode).
  int Store(const std::string& jpeg, Stored& stored);
  void Remove(const std::string& key);
  // Removes the files of every key not in the list (uploads whose request failed
  // after the files were written, e.g. when the service was stopped).
  void RemoveOrphans(const std::vector<std::string>& liveKeys);

  // The file for a served name (see above); empty when the name has another form
  // or no such file exists.
  std::filesystem::path Resolve(std::string_view name) const;
  const std::filesystem::path& Folder() const { return folder_; }
  // Every decode of a stored or uploaded photo takes a turn here.
  DecodeGate& Gate() { return gate_; }

  // "KEY.jpg", "KEY_m.jpg", "KEY_t.jpg".
  static std::string FileName(const std::string& key, char variant = 0);
  static bool IsFileName(std::string_view name);

 private:
  bool WriteFile(const std::filesystem::path& path, const std::string& bytes);

  std::filesystem::path folder_;
  // Two decodes at once (the service's machine has few cores) within 256 MB;
  // eight more resizes may wait.
  DecodeGate gate_{2, 8, 256u * 1024 * 1024};
};

}  // namespace server
