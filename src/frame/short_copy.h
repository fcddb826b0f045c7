// A copy of a run of bytes that is often only a few bytes long: up to 16
// bytes by two word moves that overlap in the middle, where a call of the
// C library's copy would cost more than the bytes; longer runs by that
// copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace twinekit {
namespace short_copy_detail {

// n bytes, sizeof(Word) <= n <= 2 * sizeof(Word), as the first and the
// last word of the run.
template <typename Word>
void CopyEnds(uint8_t* destination, const uint8_t* source, size_t n) {
  Word head, tail;
  std::memcpy(&head, source, sizeof head);
  std::memcpy(&tail, source + n - sizeof tail, sizeof tail);
  std::memcpy(destination, &head, sizeof head);
  std::memcpy(destination + n - sizeof tail, &tail, sizeof tail);
}

}  // namespace short_copy_detail

// Copies n bytes from source to destination (apart from each other).
inline void CopyRun(uint8_t* destination, const uint8_t* source, size_t n) {
  using short_copy_detail::CopyEnds;
  if (n > 16) std::memcpy(destination, source, n);
  else if (n >= 8) CopyEnds<uint64_t>(destination, source, n);
  else if (n >= 4) CopyEnds<uint32_t>(destination, source, n);
  else if (n >= 2) CopyEnds<uint16_t>(destination, source, n);
  else if (n == 1) destination[0] = source[0];
}

}  // namespace twinekit
