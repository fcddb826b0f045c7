#include "encodings/encodings.h"

#include "encodings/roman_table.h"
#include "frame/result.h"

namespace twinekit::encodings {
namespace {

// How many times a row's value goes into *value, taken off it.  Below the
// thousands a row goes in at most three times, and subtracting is far
// quicker than dividing.
int32_t TakeRow(int32_t* value, int32_t row_value) {
  if (*value >= 4 * row_value) {
    const int32_t times = *value / row_value;
    *value %= row_value;
    return times;
  }
  int32_t times = 0;
  for (; *value >= row_value; *value -= row_value) ++times;
  return times;
}

// Letters in the numeral of value (value > 0); thousands make it unbounded.
uint64_t NumeralLength(int32_t value) {
  uint64_t length = 0;
  for (const RomanRow& row : kRomanRows) {
    length += static_cast<uint64_t>(TakeRow(&value, row.value)) * row.letters.size();
  }
  return length;
}

// Writes the numeral of value into out, which NumeralLength says is large
// enough, and returns its length.
size_t WriteNumeral(int32_t value, MutableBytes out) {
  size_t n = 0;
  for (const RomanRow& row : kRomanRows) {
    for (int32_t q = TakeRow(&value, row.value); q > 0; --q) {
      for (const char letter : row.letters) out[n++] = static_cast<uint8_t>(letter);
    }
  }
  return n;
}

// The value of the letter at txt[i], taking the byte after it when the two
// make a pair; *width becomes 1 or 2.  0 for a byte that is no letter.
int32_t LetterValue(Bytes txt, size_t i, size_t* width) {
  const uint8_t next = i + 1 < txt.size() ? txt[i + 1] : 0;
  *width = 1;
  auto pair = [width](int32_t value) {
    *width = 2;
    return value;
  };
  switch (txt[i]) {
    case 'm': return 1000;
    case 'd': return 500;
    case 'c': return next == 'm' ? pair(900) : next == 'd' ? pair(400) : 100;
    case 'l': return 50;
    case 'x': return next == 'c' ? pair(90) : next == 'l' ? pair(40) : 10;
    // 'vx' counts 5, as "v" alone does, and the "x" is used up with it.
    case 'v': return next == 'x' ? pair(5) : 5;
    case 'i': return next == 'v' ? pair(4) : next == 'x' ? pair(9) : 1;
    default: return 0;
  }
}

}  // namespace

BSTR ArabicToRoman(int32_t value) {
  // A negative value is below every row, so its numeral has no letters.
  if (value <= 0) return EmptyResult();
  // A numeral longer than the working area (the first is 245,888's) gives
  // the empty result, as a value with no numeral does, rather than a
  // truncated numeral.  Values with fewer thousands may still fit: 256,000
  // is 256 "m".
  if (NumeralLength(value) > kRomanAreaSize) return EmptyResult();
  return BuildResult(kRomanAreaSize, [&](MutableBytes out) { return WriteNumeral(value, out); });
}

int32_t RomanToArabic(Bytes txt) {
  uint32_t sum = 0;  // unsigned, so that it wraps as the Long does
  size_t width = 1;
  for (size_t i = 0; i < txt.size(); i += width) {
    sum += static_cast<uint32_t>(LetterValue(txt, i, &width));
  }
  return static_cast<int32_t>(sum);
}

}  // namespace twinekit::encodings
