#include "server/UrlBuilder.h"

namespace server {

std::string UrlBuilder::Photo(const std::string& fileName) const { return PhotoFolder() + fileName; }

std::string UrlBuilder::PhotoFolder() const { return "http://" + host_ + "/photos/"; }

std::string UrlBuilder::Blog(const std::string& blog) const { return "http://" + host_ + "/" + blog; }

std::string UrlBuilder::Category(const std::string& blog, int64_t category) const {
  return Blog(blog) + "/?albumid=" + std::to_string(category);
}

std::string UrlBuilder::Preview(const std::string& blog, int64_t entry) const {
  return Blog(blog) + "/?preview=" + std::to_string(entry);
}

}  // namespace server
