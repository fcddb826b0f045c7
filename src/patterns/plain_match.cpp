#include "patterns/match.h"

namespace twinekit::patterns {
namespace {

// The first text position from `from` on whose byte k matches, or the end.
size_t NextPlaceFor(const ZeroTerminated& txt, uint8_t k, size_t from) {
  if (k == '?') return from < txt.size() ? from : txt.size();
  return txt.Find(k, from);
}

}  // namespace

// A match is a choice, for each "*k", of the text byte that k takes; the
// choices are tried from left to right.  Only the latest "*" is ever
// backtracked, which is enough for the same answer:
//
// Between two stars the pattern is a run of one-byte matchers (a "*k" puts
// its k first in the run after it).  A text matches when the runs can be
// laid over it in order without overlap, the first at its start and, unless
// the pattern ends in a lone "*", the last at its end.  Laying a middle run
// at its leftmost possible place never loses a match: a match that lays it
// further right can lay it leftmost instead, leaving more room to its
// right.  The loop tries the places of the latest run from left to right,
// so every run before it lies leftmost; when the latest run finds no place,
// no change to an earlier run can help, because moving one right only
// shrinks the text left for the later ones.  Each place of each run is
// tried at most once and each trial reads at most the run, so the time is
// at most the product of the two lengths, the memory a few positions.
bool PlainMatch(Bytes txt_bytes, Bytes pattern_bytes) {
  const ZeroTerminated txt(txt_bytes);
  const ZeroTerminated pattern(pattern_bytes);
  size_t p = 0;
  size_t t = 0;
  bool starred = false;
  size_t k_at = 0;      // the pattern position of the latest star's k
  size_t next_try = 0;  // the first text position its k has not yet taken
  for (;;) {
    const uint8_t b = pattern.At(p);
    if (b == '*') {
      if (pattern.EndAt(p + 1)) return true;  // a trailing "*" takes the rest
      starred = true;
      k_at = p + 1;
      next_try = t;
    } else if (b == 0) {
      if (txt.EndAt(t)) return true;
    } else if (!txt.EndAt(t) && (b == '?' || b == txt.At(t))) {
      ++p;
      ++t;
      continue;
    }
    // The run laid so far fails here: move the latest star's k on.
    if (!starred) return false;
    const size_t i = NextPlaceFor(txt, pattern.At(k_at), next_try);
    if (txt.EndAt(i)) return false;
    p = k_at + 1;
    t = i + 1;
    next_try = i + 1;
  }
}

}  // namespace twinekit::patterns
