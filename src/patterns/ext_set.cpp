#include "patterns/ext_set.h"

#include "patterns/codes.h"
#include "patterns/hex_pair.h"

namespace twinekit::patterns {
namespace {

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

}  // namespace

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

}  // namespace twinekit::patterns
