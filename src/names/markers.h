// The bytes that mark found exception words inside the working copy.  Both
// are punctuation, so the capitalisation pass leaves them as they are.
#pragma once

#include <cstdint>

namespace twinekit::names {

inline constexpr uint8_t kWholeWordMark = '?';
inline constexpr uint8_t kPrefixMark = '!';

}  // namespace twinekit::names
