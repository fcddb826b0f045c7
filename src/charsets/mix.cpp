#include "charsets/charsets.h"

#include <utility>

#include "frame/random.h"
#include "frame/result.h"
#include "frame/zstring.h"

namespace twinekit::charsets {

// Each position is a draw modulo the text's length.  A draw is below
// 32768, so in a longer text the bytes from position 32768 on never move.
// One swap step a byte: two positions, drawn again once (both of them) if
// they coincide; a second coincidence leaves the step without effect.
// The positions are made a block at a time ahead of the steps
// (DrawModulo::NextBlock), in the order the steps take them: a block has
// an even number of them and a step takes them in pairs, so a pair never
// straddles two blocks.
static_assert(kDrawBlock % 2 == 0);

void Shuffle(MutableBytes work, uint32_t seed) {
  const DrawModulo position(work.size());
  Generator generator(seed);
  alignas(16) uint32_t block[kDrawBlock];
  const uint32_t* const end = block + kDrawBlock;
  const uint32_t* next = end;
  const auto take_pair = [&](size_t& a, size_t& b) {
    if (next == end) {
      position.NextBlock(generator, block);
      next = block;
    }
    a = next[0];
    b = next[1];
    next += 2;
  };
  for (size_t step = 0; step < work.size(); ++step) {
    size_t a, b;
    take_pair(a, b);
    if (a == b) take_pair(a, b);
    std::swap(work[a], work[b]);
  }
}

BSTR MixChars(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  return BuildWholeResult(txt.size(), [&](MutableBytes work) {
    // The working copy stops at the text's first zero byte and is zero
    // from there on.
    CopyZ(work.data(), txt.data(), work.size());
    // The generator is seeded from the clock.
    Shuffle(work, SeedFromClock());
  });
}

}  // namespace twinekit::charsets
