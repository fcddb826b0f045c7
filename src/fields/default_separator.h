// The default separator: the one library-wide setting a caller can change.
// It is a single byte, "|" until changed, read and written without a lock;
// a reader running while another thread changes it sees either the old or
// the new byte.
#pragma once

#include <cstdint>

namespace twinekit::fields {

inline constexpr uint8_t kInitialSeparator = '|';

uint8_t DefaultSeparator();
void SetDefaultSeparator(uint8_t separator);

}  // namespace twinekit::fields
