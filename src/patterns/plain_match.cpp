#include "patterns/match.h"

namespace twinekit::patterns {
namespace {

// The first text position from `from` on whose byte k matches, or the end.
size_t NextPlaceFor(const ZeroTerminated& txt, uint8_t k, size_t from) {
  if (k == '?') return from < txt.size() ? from : txt.size();
  return txt.Find(k, from);
}

// The bytes where a run of one-byte matchers ends: a "*", or a pattern
// byte other than "?" that differs from the text's.
uint64_t PlainRunStops(uint64_t pattern_word, uint64_t txt_word) {
  using words::EqualHighs;
  using words::NonZeroHighs;
  return EqualHighs(pattern_word, '*') |
         (NonZeroHighs(pattern_word ^ txt_word) & ~EqualHighs(pattern_word, '?'));
}

// Whether a run whose first matcher is b fails at once on the text from
// position t: b is a plain byte that the text there does not hold (the
// end reads as 0, which no plain byte is).
bool FailsAtOnce(uint8_t b, const ZeroTerminated& txt, size_t t) {
  return b != '*' && b != '?' && b != 0 && txt.At(t) != b;
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
      // A byte that matches starts a run compared a word at a time.
      const size_t run = 1 + RunLength(pattern, p + 1, txt, t + 1, PlainRunStops);
      p += run;
      t += run;
      continue;
    }
    // The run laid so far fails here: move the latest star's k on, past
    // the places where the run after k fails at its first byte.
    if (!starred) return false;
    const uint8_t k = pattern.At(k_at);
    const uint8_t after_k = pattern.At(k_at + 1);
    size_t i;
    do {
      i = NextPlaceFor(txt, k, next_try);
      if (txt.EndAt(i)) return false;
      next_try = i + 1;
    } while (FailsAtOnce(after_k, txt, i + 1));
    p = k_at + 1;
    t = i + 1;
  }
}

}  // namespace twinekit::patterns
