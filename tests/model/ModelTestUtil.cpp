#include "tests/model/ModelTestUtil.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "image/Bitmap.h"
#include "image/JpegWriter.h"
#include "model/Archive.h"

namespace modeltest {

std::vector<uint8_t> ArchiveBytes(model::CObject& obj) {
  std::vector<uint8_t> out;
  model::Archive ar = model::Archive::ForWriting([&out](const uint8_t* data, size_t len) {
    out.insert(out.end(), data, data + len);
    return 0u;
  });
  obj.Serialize(ar);
  EXPECT_EQ(ar.Flush(), 0u);
  return out;
}

uint32_t ReadArchive(model::CObject& obj, const std::vector<uint8_t>& bytes) {
  model::Archive ar = model::Archive::ForReading(bytes.data(), bytes.size());
  obj.Serialize(ar);
  return ar.Error();
}

std::unique_ptr<model::CWinBlogEntry> MakeEntry(uint32_t id, uint32_t date,
                                                const std::string& title) {
  auto entry = std::make_unique<model::CWinBlogEntry>();
  entry->SetId(id);
  entry->SetDate(date);
  entry->SetTitle(title);
  entry->SetModified(false);
  return entry;
}

void WriteJpeg(testsupport::TempDeviceRoot& root, const std::string& phonePath, uint32_t width,
               uint32_t height) {
  image::Bitmap bitmap;
  ASSERT_EQ(bitmap.Allocate(width, height), 0);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      bitmap.Row(y)[x] = static_cast<uint16_t>(((x * 31 / width) << 11) | ((y * 63 / height) << 5));
    }
  }
  ASSERT_TRUE(image::WriteBitmapAsJpeg(bitmap, root.Host(phonePath).string(), 90));
}

void WriteFile(testsupport::TempDeviceRoot& root, const std::string& phonePath,
               const std::string& text) {
  std::ofstream out(root.Host(phonePath), std::ios::binary);
  out << text;
  ASSERT_TRUE(out.good());
}

std::vector<uint8_t> ReadHostFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string MakeCard(testsupport::TempDeviceRoot& root, const std::string& name) {
  std::filesystem::path store = root.HostRoot() / (".store-" + name);
  std::filesystem::create_directories(store);
  std::filesystem::create_directory_symlink(store, root.HostRoot() / name);
  return "\\" + name;
}

void PutU16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutString(std::vector<uint8_t>& out, const std::string& s) {
  out.push_back(static_cast<uint8_t>(s.size()));
  out.insert(out.end(), s.begin(), s.end());
}

}  // namespace modeltest
