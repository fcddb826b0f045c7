#include "patterns/match.h"

#include "frame/chars.h"

namespace twinekit::patterns {
namespace {

// p just after a "[" that is followed by neither "]" nor the end.  This
// reads sets apart from the matcher's member reader and SkipToClose in
// ext_match.cpp, and plainer ("!", "^" and "~" are ordinary bytes here):
// the fault codes of bad patterns are defined by this reading.  On
// kNoFaultFound p is past the closing "]".
int32_t CheckSetMembers(const ZeroTerminated& pattern, size_t& p) {
  for (;;) {
    // The end can meet us here only after a range; stepping over it as a
    // byte would read past the terminator, so it is what it means: the
    // set was never closed.
    if (pattern.EndAt(p)) return kFaultOpenSet;
    if (pattern.At(p) == ']') {
      ++p;
      return kNoFaultFound;
    }
    if (pattern.At(p) == '\\') {
      ++p;
      if (pattern.EndAt(p)) return kFaultEscapeAtEnd;
    }
    ++p;
    if (pattern.EndAt(p)) return kFaultOpenSet;
    if (pattern.At(p) != '-') continue;
    ++p;
    if (pattern.At(p) == 0 || pattern.At(p) == ']') return kFaultOpenRange;
    if (pattern.At(p) == '\\') {
      ++p;
      if (pattern.EndAt(p)) return kFaultEscapeAtEnd;
    }
    ++p;
  }
}

}  // namespace

int32_t CheckPattern(const ZeroTerminated& pattern) {
  size_t p = 0;
  while (!pattern.EndAt(p)) {
    switch (pattern.At(p)) {
      case '[': {
        if (pattern.At(p + 1) == ']') return kFaultEmptySet;
        if (pattern.EndAt(p + 1)) return kFaultOpenSet;
        ++p;
        const int32_t fault = CheckSetMembers(pattern, p);
        if (fault != kNoFaultFound) return fault;
        break;
      }
      case '\\':
        if (pattern.EndAt(p + 1)) return kFaultEscapeAtEnd;
        p += 2;
        break;
      case '~':
        // IsHexDigit(0) is false, so the end stops the test at its first byte.
        if (!IsHexDigit(pattern.At(p + 1)) || !IsHexDigit(pattern.At(p + 2))) return kFaultBadHex;
        p += 3;
        break;
      default:
        ++p;
        break;
    }
  }
  return kNoFaultFound;
}

}  // namespace twinekit::patterns
