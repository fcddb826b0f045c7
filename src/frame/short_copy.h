// Copies and fills of a few bytes done inline in ordinary words: up to 16
// bytes, where calling the C library's costs more than the work, two
// overlapping words of the widest size that fits cover the span; longer
// spans go to the library's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace twinekit {

inline constexpr size_t kShortCopy = 16;

namespace short_copy_detail {

// The span [0, n) of `to` from `from`, for sizeof(Word) <= n <= 2 *
// sizeof(Word): both words are read before either is written.
template <typename Word>
void CopyTwoWords(uint8_t* to, const uint8_t* from, size_t n) {
  Word head;
  Word tail;
  std::memcpy(&head, from, sizeof(Word));
  std::memcpy(&tail, from + n - sizeof(Word), sizeof(Word));
  std::memcpy(to, &head, sizeof(Word));
  std::memcpy(to + n - sizeof(Word), &tail, sizeof(Word));
}

// The word at the start and at the end of the span [0, n) of `to`.
template <typename Word>
void StoreTwoWords(uint8_t* to, size_t n, Word word) {
  std::memcpy(to, &word, sizeof(Word));
  std::memcpy(to + n - sizeof(Word), &word, sizeof(Word));
}

}  // namespace short_copy_detail

// memcpy(to, from, n), the spans not overlapping.
inline void CopyBytes(uint8_t* to, const uint8_t* from, size_t n) {
  using namespace short_copy_detail;
  if (n > kShortCopy) {
    std::memcpy(to, from, n);
  } else if (n >= 8) {
    CopyTwoWords<uint64_t>(to, from, n);
  } else if (n >= 4) {
    CopyTwoWords<uint32_t>(to, from, n);
  } else if (n >= 2) {
    CopyTwoWords<uint16_t>(to, from, n);
  } else if (n == 1) {
    *to = *from;
  }
}

// memset(to, value, n).  The words are stored from a register, never read
// back from memory just written.
inline void FillBytes(uint8_t* to, uint8_t value, size_t n) {
  using namespace short_copy_detail;
  const uint64_t word = 0x0101010101010101u * value;
  if (n > kShortCopy) {
    std::memset(to, value, n);
  } else if (n >= 8) {
    StoreTwoWords(to, n, word);
  } else if (n >= 4) {
    StoreTwoWords(to, n, static_cast<uint32_t>(word));
  } else if (n >= 2) {
    StoreTwoWords(to, n, static_cast<uint16_t>(word));
  } else if (n == 1) {
    *to = value;
  }
}

}  // namespace twinekit
