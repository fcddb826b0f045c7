#include "frame/zstring.h"

#include <cstring>

#include "frame/bytes.h"
#include "frame/short_copy.h"

namespace twinekit {
// The C library's search, which is the same search and, in most C
// libraries, a much faster one than a byte-by-byte comparison.
const uint8_t* FindZ(const uint8_t* text, const uint8_t* pattern) {
  return reinterpret_cast<const uint8_t*>(
      std::strstr(reinterpret_cast<const char*>(text), reinterpret_cast<const char*>(pattern)));
}

bool IsShortZ(const uint8_t* text) {
  for (size_t i = 0; i <= kShortZText; ++i) {
    if (text[i] == 0) return true;
  }
  return false;
}

// A comparison at each place where the pattern's first two bytes stand.
const uint8_t* FindZInShortText(const uint8_t* text, const uint8_t* pattern) {
  const uint8_t first = pattern[0];
  if (first == 0) return text;
  const uint8_t second = pattern[1];
  for (size_t j = 0;; ++j) {
    const uint8_t b = text[j];
    if (b == 0) return nullptr;
    // text[j + 1] is there: at worst the text's zero byte.
    if (b != first || text[j + 1] != second) continue;
    if (second == 0) return text + j;
    size_t i = 2;
    while (pattern[i] != 0 && text[j + i] == pattern[i]) ++i;
    if (pattern[i] == 0) return text + j;
    if (text[j + i] == 0) return nullptr;  // the text ended inside the pattern
  }
}

void CopyZ(uint8_t* destination, const uint8_t* source, size_t count) {
  const size_t length = UpToFirstZero(Bytes(source, count)).size();
  CopyRun(destination, source, length);
  if (length < count) std::memset(destination + length, 0, count - length);
}

}  // namespace twinekit
