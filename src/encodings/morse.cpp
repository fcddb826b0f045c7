#include "encodings/morse.h"

#include "encodings/morse_table.h"
#include "frame/chars.h"
#include "frame/result.h"
#include "frame/size_math.h"

namespace twinekit::encodings {
namespace {

// No character gives more than 6 symbols and its blank.
constexpr uint64_t kMostBytesPerChar = 7;

// Writes the code of one byte at out and returns how many bytes it wrote.
size_t WriteCode(uint8_t c, uint8_t* out) {
  const uint8_t upper = ToUpper(c);
  if (upper < kFirstMorseChar || upper > kLastMorseChar) return 0;
  uint32_t word = kMorseTable[upper - kFirstMorseChar];
  if (word & kMorseWordGap) {
    *out = '~';
    return 1;
  }
  size_t n = 0;
  // Bits 1 to 7 clear: only the end marker is left (or, for a character
  // without a code, nothing at all, which writes a lone blank).
  for (; (word & 0xFE) != 0; word >>= 1) out[n++] = (word & 1) ? '-' : '.';
  out[n++] = ' ';
  return n;
}

}  // namespace

BSTR Morse(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  // The buffer is sized by the whole byte count, even when a zero byte ends
  // the text early.
  return BuildResult(CheckedMulAdd(kMostBytesPerChar, txt.size(), 0), [&](MutableBytes out) {
    size_t written = 0;
    for (const uint8_t c : UpToFirstZero(txt)) written += WriteCode(c, out.data() + written);
    return written;
  });
}

}  // namespace twinekit::encodings
