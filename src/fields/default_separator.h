// The default separator: the one library-wide setting a caller can change.
// It is a single byte, "|" until changed, read and written without a lock;
// a reader running while another thread changes it sees either the old or
// the new byte.
#pragma once

#include <atomic>
#include <cstdint>

namespace twinekit::fields {

inline constexpr uint8_t kInitialSeparator = '|';

namespace detail {
// Constant-initialised, so it sits in static data and needs no start-up
// code.  Relaxed order is enough: the byte guards nothing else.  Inline,
// so that a scan reading it for every block reads one byte, not a call.
inline constinit std::atomic<uint8_t> default_separator{kInitialSeparator};
}  // namespace detail

inline uint8_t DefaultSeparator() {
  return detail::default_separator.load(std::memory_order_relaxed);
}

inline void SetDefaultSeparator(uint8_t separator) {
  detail::default_separator.store(separator, std::memory_order_relaxed);
}

}  // namespace twinekit::fields
