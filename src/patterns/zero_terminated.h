// A pattern or text as the matchers see it: its bytes up to the first zero
// byte, with that terminator made explicit.  At(i) is 0 at and beyond the
// end, so a scanner can ask "is this the end?" wherever it stands without
// ever reading past the terminating zero.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "frame/bytes.h"
#include "frame/word_bits.h"
#include "frame/word_find.h"

namespace twinekit::patterns {

class ZeroTerminated {
 public:
  explicit ZeroTerminated(Bytes bytes) : bytes_(UpToFirstZero(bytes)) {}

  size_t size() const { return bytes_.size(); }
  uint8_t At(size_t i) const { return i < bytes_.size() ? bytes_[i] : 0; }
  bool EndAt(size_t i) const { return i >= bytes_.size(); }

  // The first position from `from` on that holds `b` (never 0), or size().
  size_t Find(uint8_t b, size_t from) const {
    return FindByte(bytes_.data(), from, bytes_.size(), b);
  }

  // The bytes from i < size() on, up to eight, as a word with the byte at
  // i in its low bits and zeros past the end.
  uint64_t WordAt(size_t i) const { return words::WordAt(bytes_.data(), bytes_.size(), i); }

 private:
  Bytes bytes_;
};

// How many bytes, from pattern position p and text position t on, pass
// as one-byte matchers, compared a word at a time: stops(pattern word,
// text word) sets the high bit of each byte where the run ends, and it
// ends where either string does.  Every mark stops must be exact at its
// lowest set bit.
template <typename Stops>
size_t RunLength(const ZeroTerminated& pattern, size_t p, const ZeroTerminated& txt, size_t t,
                 Stops stops) {
  const size_t room = std::min(pattern.size() - p, txt.size() - t);
  for (size_t n = 0; n < room; n += 8) {
    uint64_t marks = stops(pattern.WordAt(p + n), txt.WordAt(t + n));
    if (room - n < 8) marks |= words::kHighs << (8 * (room - n));
    if (marks != 0) return n + words::FirstMarkedByte(marks);
  }
  return room;
}

}  // namespace twinekit::patterns
