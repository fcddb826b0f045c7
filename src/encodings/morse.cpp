#include "encodings/encodings.h"

#include <array>
#include <bit>
#include <utility>

#include "encodings/morse_table.h"
#include "frame/chars.h"
#include "frame/result.h"
#include "frame/short_copy.h"
#include "frame/size_math.h"
#include "frame/word_bits.h"

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

// The code of every byte value, written once: its bytes padded to 7, so
// that each is one 8-byte copy, with its length in the eighth byte.  One
// load gives both, and the text's byte is read once.
constexpr size_t kLengthByte = 7;
using CodeEntry = std::array<uint8_t, 8>;

constexpr std::array<CodeEntry, 256> kCodes = [] {
  std::array<CodeEntry, 256> table{};
  for (size_t c = 0; c < 256; ++c) {
    table[c][kLengthByte] = static_cast<uint8_t>(WriteCode(static_cast<uint8_t>(c), table[c].data()));
  }
  return table;
}();

// The code of c at out + written, copied as 8 bytes; returns written
// moved past it.
inline size_t PutCode(uint8_t c, uint8_t* out, size_t written) {
  const uint64_t entry = words::LoadWord(kCodes[c].data());
  words::StoreWord(out + written, entry);
  return written + (entry >> (8 * kLengthByte));
}

// The length of the codes of txt.
size_t CodesLength(Bytes txt) {
  size_t length = 0;
  for (const uint8_t c : txt) length += kCodes[c][kLengthByte];
  return length;
}

// The codes of txt, one after another, into out, which has room for them;
// returns their length.  Each code is copied as 8 bytes (its length byte
// overwritten by the next code, or left in the room beyond) while 8 bytes
// of room remain, the rest of the way by its own length.  Inlined into
// each of its two callers: called, it ran long texts a third slower.
[[gnu::always_inline]] inline size_t WriteCodes(Bytes txt, MutableBytes out) {
  size_t written = 0;
  size_t i = 0;
  for (; i < txt.size() && out.size() - written >= 8; ++i) written = PutCode(txt[i], out.data(), written);
  for (; i < txt.size(); ++i) {
    const CodeEntry& code = kCodes[txt[i]];
    CopyRun(out.data() + written, code.data(), code[kLengthByte]);
    written += code[kLengthByte];
  }
  return written;
}

// Texts up to this long are coded in one pass into the working area, which
// has room for 8-byte copies of all but perhaps the last code, and copied
// out; longer ones are measured first and coded straight into the result.
constexpr size_t kShortText = 16;

// The codes of the eight bytes of word, lowest first, from out + written;
// returns written moved past them.  Unrolled, each byte at a fixed shift.
template <size_t... k>
size_t PutEightCodes(uint64_t word, uint8_t* out, size_t written, std::index_sequence<k...>) {
  ((written = PutCode(static_cast<uint8_t>(word >> (8 * k)), out, written)), ...);
  return written;
}

// The codes of a text of 9 to kShortText bytes into a working area of
// kMostBytesPerChar bytes for each byte: room for an 8-byte copy of every
// code but perhaps the last, which goes as the long ones do.  The text is
// read as two overlapping words before anything is written, its bytes
// taken from them: a byte read from memory after each copy would wait to
// be sure the copy had not written it.
size_t WriteShortCodes(Bytes txt, MutableBytes out) {
  const size_t n = txt.size();
  const words::HeadTail text = words::LoadHeadTail(txt.data(), n);
  size_t written = PutEightCodes(text.head, out.data(), 0, std::make_index_sequence<8>());
  // Bytes 8 to n - 2 of the text are bytes 16 - n to 6 of the last word.
  uint64_t word = text.tail >> (8 * (16 - n));
  for (size_t k = 16 - n; k < 7; ++k, word >>= 8) {
    written = PutCode(static_cast<uint8_t>(word), out.data(), written);
  }
  return written + WriteCodes(txt.last(1), out.subspan(written));
}

}  // namespace

BSTR Morse(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  // The working area is sized by the whole byte count, even when a zero
  // byte ends the text early.
  const Bytes coded = UpToFirstZero(txt);
  const auto capacity = CheckedMulAdd(kMostBytesPerChar, txt.size(), 0);
  if (std::endian::native == std::endian::little && coded.size() > 8 && coded.size() <= kShortText) {
    return BuildResult(capacity, [&](MutableBytes out) { return WriteShortCodes(coded, out); });
  }
  if (coded.size() <= kShortText) {
    return BuildResult(capacity, [&](MutableBytes out) { return WriteCodes(coded, out); });
  }
  return BuildResultInPlace(capacity, CodesLength(coded),
                            [&](MutableBytes out) { WriteCodes(coded, out); });
}

}  // namespace twinekit::encodings
