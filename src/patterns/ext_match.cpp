#include "patterns/ext_match.h"

#include <cstddef>

#include "patterns/codes.h"
#include "patterns/ext_element.h"
#include "patterns/pattern_check.h"
#include "patterns/zero_terminated.h"

namespace twinekit::patterns {
namespace {

bool HasWildcard(const ZeroTerminated& pattern) {
  for (size_t i = 0; i < pattern.size(); ++i) {
    const uint8_t b = pattern.At(i);
    if (b == '*' || b == '?' || b == '[' || b == '\\') return true;
  }
  return false;
}

// Matches elements from (p, t) until the outcome is known or a "*" is met
// (kAtStar, with p at the "*" and t not at the end of the text).
int32_t MatchSegment(const ZeroTerminated& pattern, const ZeroTerminated& txt, size_t& p,
                     size_t& t) {
  for (;;) {
    if (pattern.EndAt(p)) return txt.EndAt(t) ? kMatched : kTextLeft;
    // The end of the text is tested before the element is looked at: only
    // a lone trailing "*" can still match, and "\" at the pattern's end is
    // not a bad pattern here.
    if (txt.EndAt(t)) {
      return pattern.At(p) == '*' && pattern.EndAt(p + 1) ? kMatched : kTextEnded;
    }
    if (pattern.At(p) == '*') return kAtStar;
    const int32_t code = MatchElement(pattern, p, txt.At(t));
    if (code != kGoOn) return code;
    ++t;
  }
}

// A star's state: the element after its run of "*" and "?", the byte k a
// text byte must equal for a trial to be worth running, and the next text
// position to try.
struct Star {
  size_t element = 0;
  uint8_t k = 0;
  bool every_position = false;  // k is "[" or "~": each position is tried
  size_t next_try = 0;
};

// Walks the run of "*" and "?" at (p, t); each "?" takes a text byte.
// Returns kGoOn with *star set up, or the star's final code.
int32_t EnterStar(const ZeroTerminated& pattern, const ZeroTerminated& txt, size_t p, size_t t,
                  Star* star) {
  for (;; ++p) {
    if (pattern.At(p) == '?') {
      if (txt.EndAt(t)) return kTextEnded;
      ++t;
    } else if (pattern.At(p) != '*') {
      break;
    }
  }
  if (pattern.EndAt(p)) return kMatched;  // the star takes the rest of the text
  uint8_t k = pattern.At(p);
  if (k == '\\') {
    if (pattern.EndAt(p + 1)) return kBadPattern;
    k = pattern.At(p + 1);
  }
  *star = {p, k, k == '[' || k == '~', t};
  return kGoOn;
}

// The next text position worth a trial, or the end of the text.  A
// position whose byte differs from a plain or escaped k would fail at once
// with 14, which a star passes over like any other code but -1 and 12.
size_t NextTrial(const ZeroTerminated& txt, const Star& star) {
  if (star.every_position) return txt.EndAt(star.next_try) ? txt.size() : star.next_try;
  return txt.Find(star.k, star.next_try);
}

// The extended matcher, without recursion.
//
// A "*" tries its element at text positions from left to right and stops
// at the first trial that answers -1 (match), 12 (text ran out) or bad
// pattern; with no such trial its answer is 12.  A trial either fails
// within its segment with 11, 13, 14 or 17 (the star tries the next
// position), ends with -1, 12 or bad pattern (the star answers that), or
// meets the next "*" - and then answers whatever that star answers, which
// is always -1, 12 or bad pattern, so the earlier star stops there too.
// Once a later star is reached, no earlier star ever tries again: only the
// latest star's state needs keeping.
//
// Each text position is tried by at most one star (a later star starts
// beyond the position its predecessor last tried) and a trial reads at
// most the rest of the pattern, so the time is at most the product of the
// two lengths.
int32_t ExtendedMatcher(const ZeroTerminated& pattern, const ZeroTerminated& txt) {
  size_t p = 0;
  size_t t = 0;
  bool starred = false;
  Star star;
  for (;;) {
    int32_t code = MatchSegment(pattern, txt, p, t);
    if (code == kAtStar) {
      code = EnterStar(pattern, txt, p, t, &star);
      if (code != kGoOn) return code;
      starred = true;
    } else if (!starred || code == kMatched || code == kTextEnded || code == kBadPattern) {
      return code;
    }
    const size_t u = NextTrial(txt, star);
    if (txt.EndAt(u)) return kTextEnded;  // the star found no way to match
    p = star.element;
    t = u;
    star.next_try = u + 1;
  }
}

}  // namespace

int32_t PatternExtMatch(Bytes txt_bytes, Bytes pattern_bytes) {
  const ZeroTerminated pattern(pattern_bytes);
  if (!HasWildcard(pattern)) return kNoWildcard;
  const int32_t code = ExtendedMatcher(pattern, ZeroTerminated(txt_bytes));
  return code == kBadPattern ? CheckPattern(pattern) : code;
}

}  // namespace twinekit::patterns
