#include "frame/random.h"

#include "frame/platform.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace twinekit {
namespace {

uint32_t SecondsToSeed(int64_t seconds) {
  if (seconds < 0 || seconds > INT32_MAX) return UINT32_MAX;
  return static_cast<uint32_t>(seconds);
}

}  // namespace

#ifdef _WIN32
int64_t CalendarSeconds() {
  // FILETIME counts 100 ns ticks since 1601-01-01 UTC.
  constexpr int64_t kTicksPerSecond = 10000000;
  constexpr int64_t kSecondsFrom1601To1970 = 11644473600;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const int64_t ticks = static_cast<int64_t>(
      (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
  return ticks / kTicksPerSecond - kSecondsFrom1601To1970;
}
#endif

uint32_t SeedFromClock() { return SecondsToSeed(CalendarSeconds()); }

}  // namespace twinekit
