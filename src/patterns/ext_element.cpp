#include "patterns/ext_element.h"

#include "patterns/codes.h"
#include "patterns/ext_set.h"
#include "patterns/hex_pair.h"

namespace twinekit::patterns {

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

}  // namespace twinekit::patterns
