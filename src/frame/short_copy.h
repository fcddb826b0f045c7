// A copy or a fill of a run of bytes that is often only a few bytes long:
// up to 16 bytes by two word moves that overlap in the middle, where a call
// of the C library's copy or fill would cost more than the bytes; longer
// runs by that call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace twinekit {

inline constexpr size_t kShortCopy = 16;

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

// The word as the first and the last word of n bytes, sizeof(Word) <= n
// <= 2 * sizeof(Word).
template <typename Word>
void StoreEnds(uint8_t* destination, size_t n, Word word) {
  std::memcpy(destination, &word, sizeof word);
  std::memcpy(destination + n - sizeof word, &word, sizeof word);
}

}  // namespace short_copy_detail

// Copies n bytes from source to destination (apart from each other).
inline void CopyRun(uint8_t* destination, const uint8_t* source, size_t n) {
  using short_copy_detail::CopyEnds;
  if (n > kShortCopy) std::memcpy(destination, source, n);
  else if (n >= 8) CopyEnds<uint64_t>(destination, source, n);
  else if (n >= 4) CopyEnds<uint32_t>(destination, source, n);
  else if (n >= 2) CopyEnds<uint16_t>(destination, source, n);
  else if (n == 1) destination[0] = source[0];
}

// Sets n bytes of destination to value.  The words are stored from a
// register, never read back from memory just written.
inline void FillRun(uint8_t* destination, uint8_t value, size_t n) {
  using short_copy_detail::StoreEnds;
  const uint64_t word = 0x0101010101010101u * value;
  if (n > kShortCopy) std::memset(destination, value, n);
  else if (n >= 8) StoreEnds(destination, n, word);
  else if (n >= 4) StoreEnds(destination, n, static_cast<uint32_t>(word));
  else if (n >= 2) StoreEnds(destination, n, static_cast<uint16_t>(word));
  else if (n == 1) destination[0] = value;
}

}  // namespace twinekit
