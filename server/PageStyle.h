#pragma once

#include <string>

namespace server {

// The one stylesheet of the blog pages, served as "/tessary.css". The pages read
// well without it; it makes them fit phones and desktops.
class PageStyle {
 public:
  static constexpr const char* kPath = "/tessary.css";

  static const std::string& Css();
  // Changes whenever the stylesheet does.
  static const std::string& ETag();
};

}  // namespace server
