#include "encodings/digits.h"

#include <cstring>

#include "frame/chars.h"
#include "frame/result.h"
#include "frame/size_math.h"

namespace twinekit::encodings {
namespace {

// out[i] = map(txt[i]) for every byte.  Whole blocks of 16 go through a
// local block, so that the compiler, free of any question of overlap,
// maps each block with vector code.
template <typename Map>
void MapEachByte(Bytes txt, MutableBytes out, Map map) {
  size_t i = 0;
  for (; i + 16 <= txt.size(); i += 16) {
    uint8_t block[16];
    std::memcpy(block, txt.data() + i, 16);
    for (uint8_t& b : block) b = map(b);
    std::memcpy(out.data() + i, block, 16);
  }
  for (; i < txt.size(); ++i) out[i] = map(txt[i]);
}

}  // namespace

bool AllDigits(Bytes txt) {
  if (txt.empty()) return false;
  for (uint8_t c : txt) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

int16_t DigitSum(Bytes txt) {
  uint16_t sum = 0;  // an Integer: wraps past 32767
  for (uint8_t c : txt) {
    if (IsDigit(c)) sum = static_cast<uint16_t>(sum + (c - '0'));
  }
  return static_cast<int16_t>(sum);
}

int16_t CheckDigit(Bytes txt) {
  int16_t check = 0;
  for (uint8_t c : txt) {
    if (!IsDigit(c)) continue;
    check = static_cast<int16_t>(check + (c - '0'));
    if (check > 9) check = static_cast<int16_t>(check - 9);
  }
  return check;
}

BSTR NinesComplement(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  return BuildResult(CheckedSize(txt.size()), [&](MutableBytes out) {
    // "0" + "9" = 0x69, so 0x69 - c is the digit byte of 9 - d.
    MapEachByte(txt, out, [](uint8_t c) { return IsDigit(c) ? static_cast<uint8_t>(0x69 - c) : c; });
    return txt.size();
  });
}

BSTR ByteComplement(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  return BuildResult(CheckedSize(txt.size()), [&](MutableBytes out) {
    MapEachByte(txt, out, [](uint8_t c) { return static_cast<uint8_t>(0xFF - c); });
    return txt.size();
  });
}

}  // namespace twinekit::encodings
