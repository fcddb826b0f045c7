#include "frame/tokenizer.h"

namespace twinekit {
namespace {

bool IsDelimiter(uint8_t c, const uint8_t* delimiters) {
  for (const uint8_t* d = delimiters; *d != 0; ++d) {
    if (*d == c) return true;
  }
  return false;
}

}  // namespace

uint8_t* Tokenizer::Next(const uint8_t* delimiters) {
  if (position_ == nullptr) return nullptr;
  uint8_t* p = position_;
  while (*p != 0 && IsDelimiter(*p, delimiters)) ++p;
  uint8_t* token = p;
  while (*p != 0 && !IsDelimiter(*p, delimiters)) ++p;
  if (*p != 0) {
    *p = 0;
    position_ = p + 1;
  } else {
    position_ = p;
  }
  return *token == 0 ? nullptr : token;
}

}  // namespace twinekit
