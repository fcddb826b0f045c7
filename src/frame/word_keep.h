// Keeping some bytes of a text of 8 to 16 bytes, read as two ordinary
// 64-bit words that may overlap: which bytes to keep is worked out in the
// words, and the kept ones are written straight into the result from
// them, so that no byte is loaded after a store and no jump depends on a
// byte.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "frame/bytes.h"
#include "frame/result.h"
#include "frame/word_bits.h"

namespace twinekit {

// The texts KeepMarkedBytes takes.
inline constexpr size_t kWordKeepMin = 8;
inline constexpr size_t kWordKeepMax = 16;

// Word reads assume the machine's bytes run from the low end of a word.
inline constexpr bool kWordKeep = std::endian::native == std::endian::little;

namespace word_keep_detail {

using words::kOnes;

// The bytes of a word up to and including its last marked one.
inline constexpr size_t BytesToLastMark(uint64_t marks) {
  return marks == 0 ? 0 : static_cast<size_t>(64 - std::countl_zero(marks)) / 8;
}

// Stores the first `bytes` bytes of word at out, each at the count of
// marked bytes before it, so that no store waits for the one before; a
// byte that is not marked is overwritten by the next marked one.  Returns
// how many marked bytes there are.
inline size_t StoreMarked(uint64_t word, uint64_t marks, size_t bytes, uint8_t* out) {
  const uint64_t ones = marks >> 7;
  // Byte k of `through` counts the marked bytes up to and including k.
  const uint64_t through = ones * kOnes;
  uint64_t before = through - ones;
#pragma GCC unroll 8
  for (size_t k = 0; k < bytes; ++k, before >>= 8, word >>= 8) {
    out[before & 0xFF] = static_cast<uint8_t>(word);
  }
  return through >> 56;
}

}  // namespace word_keep_detail

// The marks of the bytes of two words to keep: the high bit of each.
struct WordMarks {
  uint64_t low;
  uint64_t high;
};

// The bytes of txt (kWordKeepMin to kWordKeepMax bytes long) that
// marks_of marks, in order, as a new result, built as BuildResultInPlace
// builds it with a working area as long as txt.  marks_of(low, high)
// gives the WordMarks of the text's first eight bytes and its last eight.
template <typename MarksOf>
BSTR KeepMarkedBytes(Bytes txt, MarksOf marks_of) {
  using namespace word_keep_detail;
  const words::HeadTail ends = words::LoadHeadTail(txt.data(), txt.size());
  const uint64_t low = ends.head;
  const uint64_t high = ends.tail;
  const WordMarks marks = marks_of(low, high);
  const uint64_t low_kept = marks.low;
  // The bytes of the high word that the low one holds too are not its.
  const size_t shared = kWordKeepMax - txt.size();
  const uint64_t high_kept = shared == 8 ? 0 : marks.high & (~uint64_t{0} << (8 * shared));
  const size_t length = words::CountOfMarks(low_kept) + words::CountOfMarks(high_kept);
  return BuildResultInPlace(txt.size(), length, [&](MutableBytes out) {
    // A byte is stored wherever the walk stands, so it stops at the last
    // kept byte: one stored after it would land past the result's end.
    const size_t low_bytes = high_kept != 0 ? 8 : BytesToLastMark(low_kept);
    const size_t written = StoreMarked(low, low_kept, low_bytes, out.data());
    StoreMarked(high, high_kept, BytesToLastMark(high_kept), out.data() + written);
  });
}

}  // namespace twinekit
