#include "server/ServiceConfig.h"

#include <ctime>

namespace server {

int64_t ServiceConfig::Now() const {
  if (clock) return clock();
  return static_cast<int64_t>(std::time(nullptr));
}

}  // namespace server
