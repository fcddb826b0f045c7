// A run of bytes with its capitals A-Z made small, the case mapping of
// frame/chars.h applied to every byte: eight bytes at a time in a word for
// a short run, a block of 16 at a time for a longer one.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "frame/byte_map.h"
#include "frame/bytes.h"
#include "frame/chars.h"
#include "frame/word_bits.h"

namespace twinekit {

// Runs shorter than this are lowered a word at a time (from eight bytes),
// longer ones a block at a time.
inline constexpr size_t kShortLowering = 64;

// The n bytes of from, capitals lowered, into to: from itself (lowered in
// place) or n bytes apart from it.
inline void LowerRun(const uint8_t* from, size_t n, uint8_t* to) {
  using namespace words;
  if (std::endian::native != std::endian::little || n < kWordBytes || n >= kShortLowering) {
    return MapEachByte(Bytes(from, n), MutableBytes(to, n), [](uint8_t b) { return ToLower(b); });
  }
  size_t i = 0;
  for (; i + kWordBytes <= n; i += kWordBytes) StoreWord(to + i, LowerLetters(LoadWord(from + i)));
  // The last word overlaps the one before it; read again (in place, over
  // bytes lowered already, which lowering leaves alone).
  if (i < n) StoreWord(to + n - kWordBytes, LowerLetters(LoadWord(from + n - kWordBytes)));
}

}  // namespace twinekit
