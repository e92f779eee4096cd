#pragma once

#include <cstdint>
#include <string>

namespace server {

// The addresses the service hands out, on its public host.
class UrlBuilder {
 public:
  explicit UrlBuilder(std::string host) : host_(std::move(host)) {}

  const std::string& Host() const { return host_; }
  // http://HOST/photos/FILE
  std::string Photo(const std::string& fileName) const;
  // http://HOST/photos/, for photo addresses made in a reused buffer.
  std::string PhotoFolder() const;
  std::string Blog(const std::string& blog) const;
  std::string Category(const std::string& blog, int64_t category) const;
  std::string Preview(const std::string& blog, int64_t entry) const;

 private:
  std::string host_;
};

}  // namespace server
