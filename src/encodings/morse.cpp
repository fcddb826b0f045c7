#include "encodings/encodings.h"

#include <array>
#include <cstring>

#include "encodings/morse_table.h"
#include "frame/chars.h"
#include "frame/result.h"
#include "frame/size_math.h"

namespace twinekit::encodings {
namespace {

// No character gives more than 6 symbols and its blank.
constexpr uint64_t kMostBytesPerChar = 7;

// Writes the code of one byte at out and returns how many bytes it wrote.
constexpr size_t WriteCode(uint8_t c, uint8_t* out) {
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

// The code of every byte value, written once: its bytes padded to 8, so
// that each is one 8-byte copy, and its length.
struct CodeTable {
  std::array<std::array<uint8_t, 8>, 256> code{};
  std::array<uint8_t, 256> length{};
};

constexpr CodeTable kCodes = [] {
  CodeTable table;
  for (size_t c = 0; c < 256; ++c) {
    table.length[c] = static_cast<uint8_t>(WriteCode(static_cast<uint8_t>(c), table.code[c].data()));
  }
  return table;
}();

// The length of the codes of txt.
size_t CodesLength(Bytes txt) {
  size_t length = 0;
  for (const uint8_t c : txt) length += kCodes.length[c];
  return length;
}

// The codes of txt, one after another, into out, which has room for them;
// returns their length.  Each code is copied as 8 bytes while 8 bytes of
// room remain, the rest of the way byte by byte.  Inlined into each of its
// two callers: called, it ran long texts a third slower.
[[gnu::always_inline]] inline size_t WriteCodes(Bytes txt, MutableBytes out) {
  size_t written = 0;
  size_t i = 0;
  for (; i < txt.size() && out.size() - written >= 8; ++i) {
    std::memcpy(out.data() + written, kCodes.code[txt[i]].data(), 8);
    written += kCodes.length[txt[i]];
  }
  for (; i < txt.size(); ++i) {
    const uint8_t c = txt[i];
    std::memcpy(out.data() + written, kCodes.code[c].data(), kCodes.length[c]);
    written += kCodes.length[c];
  }
  return written;
}

// Texts up to this long are coded in one pass into the working area, which
// has room for 8-byte copies of all but perhaps the last code, and copied
// out; longer ones are measured first and coded straight into the result.
constexpr size_t kShortText = 16;

}  // namespace

BSTR Morse(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  // The working area is sized by the whole byte count, even when a zero
  // byte ends the text early.
  const Bytes coded = UpToFirstZero(txt);
  const auto capacity = CheckedMulAdd(kMostBytesPerChar, txt.size(), 0);
  if (coded.size() <= kShortText) {
    return BuildResult(capacity, [&](MutableBytes out) { return WriteCodes(coded, out); });
  }
  return BuildResultInPlace(capacity, CodesLength(coded),
                            [&](MutableBytes out) { WriteCodes(coded, out); });
}

}  // namespace twinekit::encodings
