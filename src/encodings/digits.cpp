#include "encodings/encodings.h"

#include "frame/byte_map.h"
#include "frame/chars.h"
#include "frame/result.h"
#include "frame/size_math.h"

namespace twinekit::encodings {
namespace {

// Whether the 16 bytes of block are all digits.
bool BlockOfDigits(const Block16& block) {
  uint8_t others = 0;
  for (const uint8_t b : block) others |= static_cast<uint8_t>(b - '0') > 9 ? 1 : 0;
  return others == 0;
}

// The sum of the values of the digits of txt, the other bytes left out.
uint64_t SumOfDigits(Bytes txt) {
  const auto value = [](uint8_t b) {
    const auto d = static_cast<uint8_t>(b - '0');
    return d > 9 ? uint8_t{0} : d;
  };
  uint64_t sum = 0;
  size_t i = ForEachBlock(txt, [&](const Block16& block, size_t) {
    unsigned block_sum = 0;
    for (const uint8_t b : block) block_sum += value(b);
    sum += block_sum;
  });
  for (; i < txt.size(); ++i) sum += value(txt[i]);
  return sum;
}

}  // namespace

bool AllDigits(Bytes txt) {
  if (txt.empty()) return false;
  // A block with another byte stops the walk, and the bytewise test below
  // finds that byte.
  size_t i = ForEachBlock(txt, [](const Block16& block, size_t) { return BlockOfDigits(block); });
  for (; i < txt.size(); ++i) {
    if (!IsDigit(txt[i])) return false;
  }
  return true;
}

int16_t DigitSum(Bytes txt) {
  // An Integer: wraps past 32767.
  return static_cast<int16_t>(static_cast<uint16_t>(SumOfDigits(txt)));
}

// Casting out nines one digit at a time keeps a check from 1 to 9 once any
// digit above "0" has been added (adding 0 to 9 to a check of 1 to 9 and
// taking 9 off above 9 stays within 1 to 9), and the check is the sum
// modulo 9 throughout.  So it is 0 for a sum of 0, and otherwise the
// number from 1 to 9 that the sum is congruent to.
int16_t CheckDigit(Bytes txt) {
  const uint64_t sum = SumOfDigits(txt);
  return static_cast<int16_t>(sum == 0 ? 0 : (sum - 1) % 9 + 1);
}

BSTR NinesComplement(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  return BuildWholeResult(CheckedSize(txt.size()), [&](MutableBytes out) {
    // "0" + "9" = 0x69, so 0x69 - c is the digit byte of 9 - d.
    MapEachByte(txt, out, [](uint8_t c) { return IsDigit(c) ? static_cast<uint8_t>(0x69 - c) : c; });
  });
}

BSTR ByteComplement(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  return BuildWholeResult(CheckedSize(txt.size()), [&](MutableBytes out) {
    MapEachByte(txt, out, [](uint8_t c) { return static_cast<uint8_t>(0xFF - c); });
  });
}

}  // namespace twinekit::encodings
