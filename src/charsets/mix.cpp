#include "charsets/mix.h"

#include <utility>

#include "frame/clock.h"
#include "frame/random.h"
#include "frame/result.h"
#include "frame/zstring.h"

namespace twinekit::charsets {
namespace {

// A position from one draw.  A draw is below 32768, so in a longer text
// the bytes from position 32768 on never move.
size_t DrawPosition(size_t n) { return static_cast<size_t>(DrawFromGenerator()) % n; }

// One swap step: two positions, drawn again once (both of them) if they
// coincide; a second coincidence leaves the step without effect.
void SwapStep(MutableBytes work) {
  size_t a = DrawPosition(work.size());
  size_t b = DrawPosition(work.size());
  if (a == b) {
    a = DrawPosition(work.size());
    b = DrawPosition(work.size());
  }
  std::swap(work[a], work[b]);
}

}  // namespace

BSTR MixChars(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  return BuildResult(txt.size(), [&](MutableBytes work) {
    SeedGenerator(SeedFromClock());
    // The working copy stops at the text's first zero byte and is zero
    // from there on.
    CopyZ(work.data(), txt.data(), work.size());
    for (size_t step = 0; step < work.size(); ++step) SwapStep(work);
    return work.size();
  });
}

}  // namespace twinekit::charsets
