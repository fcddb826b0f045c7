#include "frame/zstring.h"

namespace twinekit {

// A straightforward search: the texts these services see are short
// (tokens, exception words), and the callers bound the pattern's length.
const uint8_t* FindZ(const uint8_t* text, const uint8_t* pattern) {
  if (*pattern == 0) return text;
  for (; *text != 0; ++text) {
    const uint8_t* t = text;
    const uint8_t* p = pattern;
    while (*p != 0 && *t == *p) {
      ++t;
      ++p;
    }
    if (*p == 0) return text;
  }
  return nullptr;
}

void CopyZ(uint8_t* destination, const uint8_t* source, size_t count) {
  size_t i = 0;
  for (; i < count && source[i] != 0; ++i) destination[i] = source[i];
  for (; i < count; ++i) destination[i] = 0;
}

}  // namespace twinekit
