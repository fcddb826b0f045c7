#include "charsets/charsets.h"

#include <utility>

#include "frame/random.h"
#include "frame/result.h"
#include "frame/zstring.h"

namespace twinekit::charsets {
namespace {

// Each position is a draw modulo the text's length.  A draw is below
// 32768, so in a longer text the bytes from position 32768 on never move.

// One swap step: two positions, drawn again once (both of them) if they
// coincide; a second coincidence leaves the step without effect.
void SwapStep(MutableBytes work, const DrawModulo& position, Generator& generator) {
  size_t a = position.Next(generator);
  size_t b = position.Next(generator);
  if (a == b) {
    a = position.Next(generator);
    b = position.Next(generator);
  }
  std::swap(work[a], work[b]);
}

}  // namespace

BSTR MixChars(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  return BuildWholeResult(txt.size(), [&](MutableBytes work) {
    // The generator is seeded from the clock.
    Generator generator(SeedFromClock());
    // The working copy stops at the text's first zero byte and is zero
    // from there on.
    CopyZ(work.data(), txt.data(), work.size());
    const DrawModulo position(work.size());
    for (size_t step = 0; step < work.size(); ++step) SwapStep(work, position, generator);
  });
}

}  // namespace twinekit::charsets
