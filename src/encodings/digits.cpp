#include "encodings/digits.h"

#include "frame/chars.h"
#include "frame/result.h"
#include "frame/size_math.h"

namespace twinekit::encodings {

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
    for (size_t i = 0; i < txt.size(); ++i) {
      // "0" + "9" = 0x69, so 0x69 - c is the digit byte of 9 - d.
      out[i] = IsDigit(txt[i]) ? static_cast<uint8_t>(0x69 - txt[i]) : txt[i];
    }
    return txt.size();
  });
}

BSTR ByteComplement(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  return BuildResult(CheckedSize(txt.size()), [&](MutableBytes out) {
    for (size_t i = 0; i < txt.size(); ++i) out[i] = static_cast<uint8_t>(0xFF - txt[i]);
    return txt.size();
  });
}

}  // namespace twinekit::encodings
