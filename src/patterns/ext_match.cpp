#include <cstddef>

#include "frame/hex_digits.h"
#include "patterns/match.h"

namespace twinekit::patterns {
namespace {

// Sets in brackets: "[" members "]", or "[!" / "[^" members "]" negated.
// A member is a byte or a range "x-y"; a bound is a byte, an escaped byte
// "\c" or a hex pair "~hl".
//
// Three scans read this syntax, and each reads it its own way on purpose,
// because the codes a malformed set gives depend on it: the member reader
// below (ReadFirstBound, ReadSecondBound), which stops at the member that
// admits the text byte; SkipToClose, which goes on from there knowing
// escapes and hex pairs but not ranges; and CheckSetMembers in
// pattern_check.cpp, which names a bad pattern's fault and knows escapes
// and ranges but not hex pairs.  Made one, they would move where a set is
// taken to end and which fault a pattern is given.

// Set ranges order bytes as signed numbers, so 0x80 to 0xFF come below 0x00.
constexpr int SignedByte(uint8_t b) { return static_cast<int8_t>(b); }

// Reads the hex pair after the "~" at p into *bound and steps past it;
// false when the pattern ends within it.
bool ReadHexBound(const ZeroTerminated& pattern, size_t& p, uint8_t* bound) {
  if (pattern.EndAt(p + 1) || pattern.EndAt(p + 2)) return false;
  *bound = HexPair(pattern.At(p + 1), pattern.At(p + 2));
  p += 3;
  return true;
}

// A member's first bound: "\c", "~hl" or a byte.
bool ReadFirstBound(const ZeroTerminated& pattern, size_t& p, uint8_t* bound) {
  switch (pattern.At(p)) {
    case 0:
      return false;
    case '\\':
      if (pattern.EndAt(p + 1)) return false;
      *bound = pattern.At(p + 1);
      p += 2;
      return true;
    case '~':
      return ReadHexBound(pattern, p, bound);
    default:
      *bound = pattern.At(p);
      p += 1;
      return true;
  }
}

// A range's second bound, p at the "-".  Unlike a first bound, an escaped
// "~" here still starts a hex pair: "\~62" is the byte "b".
bool ReadSecondBound(const ZeroTerminated& pattern, size_t& p, uint8_t* bound) {
  ++p;
  if (pattern.At(p) == 0 || pattern.At(p) == ']') return false;
  if (pattern.At(p) == '\\') {
    ++p;
    if (pattern.EndAt(p)) return false;
  }
  if (pattern.At(p) == '~') return ReadHexBound(pattern, p, bound);
  *bound = pattern.At(p);
  p += 1;
  return true;
}

bool Between(uint8_t c, uint8_t a, uint8_t b) {
  const int x = SignedByte(c);
  const int lo = SignedByte(a) < SignedByte(b) ? SignedByte(a) : SignedByte(b);
  const int hi = SignedByte(a) < SignedByte(b) ? SignedByte(b) : SignedByte(a);
  return lo <= x && x <= hi;
}

// Steps from inside the set to its closing "]", passing over "\c" and
// "~hl" so that neither can close it.  An escaped "~" still starts a hex
// pair here, so "\~" swallows the two bytes after it whatever they are.
bool SkipToClose(const ZeroTerminated& pattern, size_t& p) {
  while (pattern.At(p) != ']') {
    if (pattern.EndAt(p)) return false;
    if (pattern.At(p) == '\\') {
      ++p;
      if (pattern.EndAt(p)) return false;
    }
    if (pattern.At(p) == '~') {
      ++p;
      if (pattern.EndAt(p)) return false;
      ++p;
      if (pattern.EndAt(p)) return false;
    }
    ++p;
  }
  return true;
}

// Matches the set whose "[" is at pattern position p against the text byte
// c.  Returns kGoOn with p moved past the set's closing "]", kSetRefused,
// or kBadPattern.
//
// The members are read in order only until one admits c; the rest of the
// set is then skipped by a simpler scan that knows escapes and hex pairs
// but not ranges.  So whether a malformed set is noticed, and where the set
// is taken to end, can depend on c.
int32_t MatchSet(const ZeroTerminated& pattern, size_t& p, uint8_t c) {
  ++p;
  const bool negated = pattern.At(p) == '!' || pattern.At(p) == '^';
  if (negated) ++p;
  if (pattern.At(p) == ']') return kBadPattern;  // "[]", "[!]", "[^]"

  bool admitted = false;
  while (!admitted && pattern.At(p) != ']') {
    uint8_t first = 0;
    if (!ReadFirstBound(pattern, p, &first)) return kBadPattern;
    uint8_t second = first;
    if (pattern.At(p) == '-' && !ReadSecondBound(pattern, p, &second)) return kBadPattern;
    admitted = Between(c, first, second);
  }
  if (admitted == negated) return kSetRefused;
  if (admitted && !SkipToClose(pattern, p)) return kBadPattern;
  ++p;  // past the "]"
  return kGoOn;
}

// One element of an extended pattern other than "*": "?", a set in
// brackets, an escaped byte "\c", a hex pair "~hl" or a plain byte:
// matches the element at pattern position p (not a "*", not the end)
// against the text byte c.  Returns kGoOn with p moved past the element,
// or kSetRefused, kByteDiffers, kHexDiffers or kBadPattern.
int32_t MatchElement(const ZeroTerminated& pattern, size_t& p, uint8_t c) {
  switch (pattern.At(p)) {
    case '?':
      p += 1;
      return kGoOn;
    case '[':
      return MatchSet(pattern, p, c);
    case '\\':
      if (pattern.EndAt(p + 1)) return kBadPattern;
      if (pattern.At(p + 1) != c) return kByteDiffers;
      p += 2;
      return kGoOn;
    case '~':
      if (pattern.EndAt(p + 1) || pattern.EndAt(p + 2)) return kBadPattern;
      if (HexPair(pattern.At(p + 1), pattern.At(p + 2)) != c) return kHexDiffers;
      p += 3;
      return kGoOn;
    default:
      if (pattern.At(p) != c) return kByteDiffers;
      p += 1;
      return kGoOn;
  }
}


// A byte that stands for itself: none of "*", "?", "[", "\", "~", and not
// the end.
bool IsPlainByte(uint8_t b) {
  switch (b) {
    case 0:
    case '*':
    case '?':
    case '[':
    case '\\':
    case '~':
      return false;
    default:
      return true;
  }
}

// The bytes where a run of plain bytes ends: a byte that is not plain, or
// one that differs from the text's (the end is left to RunLength).
uint64_t PlainRunStops(uint64_t pattern_word, uint64_t txt_word) {
  using words::EqualHighs;
  using words::NonZeroHighs;
  return NonZeroHighs(pattern_word ^ txt_word) | EqualHighs(pattern_word, '*') |
         EqualHighs(pattern_word, '?') | EqualHighs(pattern_word, '[') |
         EqualHighs(pattern_word, '\\') | EqualHighs(pattern_word, '~');
}

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
    // Two plain bytes that match start a run compared a word at a time.
    if (IsPlainByte(pattern.At(p)) && pattern.At(p) == txt.At(t) && IsPlainByte(pattern.At(p + 1))) {
      const size_t run = RunLength(pattern, p, txt, t, PlainRunStops);
      p += run;
      t += run;
      continue;
    }
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
  size_t k_width = 0;  // the length of a plain (1) or escaped (2) k's element
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
  size_t k_width = 1;
  if (k == '\\') {
    if (pattern.EndAt(p + 1)) return kBadPattern;
    k = pattern.At(p + 1);
    k_width = 2;
  }
  *star = {p, k, k == '[' || k == '~', k_width, t};
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
    // A plain or escaped k is known to match the byte at u: the trial
    // starts past it.
    p = star.every_position ? star.element : star.element + star.k_width;
    t = star.every_position ? u : u + 1;
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
