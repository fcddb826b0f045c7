#include "compress/compaction.h"

#include "frame/chars.h"
#include "frame/hex_digits.h"
#include "frame/result.h"
#include "frame/size_math.h"

namespace twinekit::compress {
namespace {

// "0" to "9" read as 0 to 9; any other byte b as (b - 55) mod 16, which
// gives "A"-"F" and "a"-"f" their values and every other byte some value.
uint8_t DigitValue(uint8_t b) {
  if (IsDigit(b)) return static_cast<uint8_t>(b - '0');
  return static_cast<uint8_t>(b - 55) & 0x0F;
}


}  // namespace

BSTR PackDigits(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  const auto capacity = CheckedSize((uint64_t{txt.size()} + 1) / 2);
  return BuildResult(capacity, [&](MutableBytes out) {
    size_t in = 0;
    size_t written = 0;
    if (txt.size() % 2 == 1) out[written++] = DigitValue(txt[in++]);
    for (; in < txt.size(); in += 2) {
      out[written++] = static_cast<uint8_t>(DigitValue(txt[in]) << 4 | DigitValue(txt[in + 1]));
    }
    return written;
  });
}

BSTR UnpackDigits(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  return BuildResult(CheckedMulAdd(txt.size(), 2, 0),
                     [&](MutableBytes out) { return WriteHexPairs(txt, out); });
}

}  // namespace twinekit::compress
