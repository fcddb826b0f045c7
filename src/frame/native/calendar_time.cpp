// The calendar time of the native build: the system's, unless the test
// variant has fixed the clock through the hooks.
#include <ctime>

#include "frame/native/hooks.h"
#include "frame/platform.h"

namespace twinekit {

int64_t CalendarSeconds() {
  const int64_t fixed = native::FixedClock();
  if (fixed >= 0) return fixed;
  return static_cast<int64_t>(std::time(nullptr));
}

}  // namespace twinekit
