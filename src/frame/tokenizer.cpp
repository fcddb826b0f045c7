#include "frame/tokenizer.h"

namespace twinekit {
namespace {

bool IsDelimiter(uint8_t c, const uint8_t* delimiters) {
  for (const uint8_t* d = delimiters; *d != 0; ++d) {
    if (*d == c) return true;
  }
  return false;
}

// The first byte at or after p that is (or, with kIs false, is not) a
// delimiter, or p's zero byte.
template <bool kIs>
uint8_t* SkipWhile(uint8_t* p, const uint8_t* delimiters) {
  // One delimiter, the usual set, is a single comparison a byte.
  if (delimiters[0] != 0 && delimiters[1] == 0) {
    const uint8_t d = delimiters[0];
    while (*p != 0 && (*p == d) == kIs) ++p;
    return p;
  }
  while (*p != 0 && IsDelimiter(*p, delimiters) == kIs) ++p;
  return p;
}

}  // namespace

uint8_t* Tokenizer::Next(const uint8_t* delimiters) {
  if (position_ == nullptr) return nullptr;
  uint8_t* token = SkipWhile<true>(position_, delimiters);
  uint8_t* p = SkipWhile<false>(token, delimiters);
  if (*p != 0) {
    *p = 0;
    position_ = p + 1;
  } else {
    position_ = p;
  }
  return *token == 0 ? nullptr : token;
}

}  // namespace twinekit
