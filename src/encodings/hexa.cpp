#include "encodings/hexa.h"

#include "frame/chars.h"
#include "frame/hex_digits.h"
#include "frame/result.h"
#include "frame/size_math.h"

namespace twinekit::encodings {
namespace {

// The digit value of a byte taken as a signed 8-bit number, unchecked:
// right for "0"-"9", "A"-"F" and "a"-"f", some number for anything else
// (negative for bytes 0x80 to 0xFF and for bytes below "0").
int PairDigit(uint8_t byte) {
  const int x = static_cast<int8_t>(byte);
  if (x >= 'a') return x - 0x57;
  if (x >= 'A') return x - 0x37;
  return x - 0x30;
}

// Two bytes read as one: 16 × d(high) + d(low), modulo 256.
uint8_t HexPair(uint8_t high, uint8_t low) {
  return static_cast<uint8_t>(16 * PairDigit(high) + PairDigit(low));
}

// The value of a byte of the hexadecimal digit class.
uint32_t HexDigitValue(uint8_t c) {
  if (IsDigit(c)) return c - '0';
  return (c | 0x20u) - 'a' + 10;
}

// The digits at the start of txt, before its first zero byte, as an
// unsigned number; 0 when txt is empty or longer than max_length.
uint32_t LeadingHexValue(Bytes txt, size_t max_length) {
  if (txt.empty() || txt.size() > max_length) return 0;
  uint32_t value = 0;
  // A zero byte is not a hexadecimal digit, so the walk stops there too.
  for (uint8_t c : txt) {
    if (!IsHexDigit(c)) break;
    value = value << 4 | HexDigitValue(c);
  }
  return value;
}

}  // namespace

BSTR BytesToHex(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  return BuildResult(CheckedMulAdd(txt.size(), 2, 0),
                     [&](MutableBytes out) { return WriteHexPairs(txt, out); });
}

BSTR HexToBytes(Bytes txt) {
  if (txt.size() < 2) return EmptyResult();
  const size_t pairs = txt.size() / 2;
  return BuildResult(CheckedSize(pairs), [&](MutableBytes out) {
    for (size_t k = 0; k < pairs; ++k) out[k] = HexPair(txt[2 * k], txt[2 * k + 1]);
    return pairs;
  });
}

// Two bytes with nothing to build around them: made straight from a local
// pair, no scratch buffer.
BSTR LongitudinalCheck(Bytes txt) {
  if (txt.size() < 2) return EmptyResult();
  uint8_t check = 0;
  for (uint8_t b : txt) check ^= b;
  const uint8_t digits[2] = {UpperHexDigit(check >> 4), UpperHexDigit(check)};
  return ResultFromBytes(digits, 2);
}

int16_t HexToInteger(Bytes txt) {
  return static_cast<int16_t>(static_cast<uint16_t>(LeadingHexValue(txt, 4)));
}

int32_t HexToLong(Bytes txt) { return static_cast<int32_t>(LeadingHexValue(txt, 8)); }

}  // namespace twinekit::encodings
