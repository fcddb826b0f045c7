#include "encodings/encodings.h"

#include <bit>
#include <cstring>

#include "frame/byte_map.h"
#include "frame/chars.h"
#include "frame/hex_blocks.h"
#include "frame/hex_digits.h"
#include "frame/result.h"
#include "frame/size_math.h"
#include "frame/word_bits.h"

namespace twinekit::encodings {
namespace {

// Texts up to this long are combined a word at a time.
constexpr size_t kShortXor = 32;

// The eight bytes of word combined by exclusive or.
uint8_t FoldWord(uint64_t word) {
  word ^= word >> 32;
  word ^= word >> 16;
  word ^= word >> 8;
  return static_cast<uint8_t>(word);
}

// Every byte of a text of 8 to kShortXor bytes combined a word at a time:
// the last word, read over bytes already taken, shifted past them.
uint8_t XorOfShortText(Bytes txt) {
  const size_t n = txt.size();
  uint64_t all = 0;
  size_t i = 0;
  for (; i + 8 <= n; i += 8) all ^= words::LoadWord(txt.data() + i);
  if (i < n) all ^= words::WordAt(txt.data(), n, i);
  return FoldWord(all);
}

// Every byte of txt combined by exclusive or: 16 lanes, folded at the
// end, then the last bytes.
uint8_t XorOfBytes(Bytes txt) {
  if (std::endian::native == std::endian::little && txt.size() >= 8 && txt.size() <= kShortXor) {
    return XorOfShortText(txt);
  }
  uint8_t lanes[16] = {};
  size_t i = ForEachBlock(txt, [&](const Block16& block, size_t) {
    for (size_t k = 0; k < 16; ++k) lanes[k] ^= block[k];
  });
  uint8_t check = 0;
  for (const uint8_t lane : lanes) check ^= lane;
  for (; i < txt.size(); ++i) check ^= txt[i];
  return check;
}

// The digits at the start of txt, before its first zero byte, as an
// unsigned number; 0 when txt is empty or longer than max_length.
uint32_t LeadingHexValue(Bytes txt, size_t max_length) {
  if (txt.empty() || txt.size() > max_length) return 0;
  uint32_t value = 0;
  // A zero byte is not a hexadecimal digit, so the walk stops there too.
  for (uint8_t c : txt) {
    const int digit = HexDigitValue(c);
    if (digit < 0) break;
    value = value << 4 | static_cast<uint32_t>(digit);
  }
  return value;
}

}  // namespace

BSTR BytesToHex(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  return BuildWholeResult(CheckedMulAdd(txt.size(), 2, 0),
                          [&](MutableBytes out) { hex::WriteDigits(txt, out.data()); });
}

BSTR HexToBytes(Bytes txt) {
  if (txt.size() < 2) return EmptyResult();
  const size_t pairs = txt.size() / 2;
  return BuildWholeResult(CheckedSize(pairs), [&](MutableBytes out) {
    // Each pair is read as one byte, (16 × d(high) + d(low)) modulo 256,
    // by the signed digit rule, unchecked.
    hex::ReadSignedPairs(txt, out.data());
  });
}

// Two bytes with nothing to build around them: made straight from a local
// pair, no scratch buffer.  The pair is written as one 16-bit word, which
// the copy into the result reads back whole: two byte writes would make
// that read wait for both.
BSTR LongitudinalCheck(Bytes txt) {
  if (txt.size() < 2) return EmptyResult();
  const uint8_t check = XorOfBytes(txt);
  const uint16_t high = UpperHexDigit(check >> 4);
  const uint16_t low = UpperHexDigit(check);
  const auto pair = static_cast<uint16_t>(std::endian::native == std::endian::little ? high | low << 8
                                                                                     : high << 8 | low);
  uint8_t digits[2];
  std::memcpy(digits, &pair, 2);
  return ResultFromBytes(digits, 2);
}

int16_t HexToInteger(Bytes txt) {
  return static_cast<int16_t>(static_cast<uint16_t>(LeadingHexValue(txt, 4)));
}

int32_t HexToLong(Bytes txt) { return static_cast<int32_t>(LeadingHexValue(txt, 8)); }

}  // namespace twinekit::encodings
