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

void CopyZ(uint8_t* destination, const uint8_t* source, size_t count) {
  const size_t length = UpToFirstZero(Bytes(source, count)).size();
  CopyRun(destination, source, length);
  if (length < count) std::memset(destination + length, 0, count - length);
}

}  // namespace twinekit
