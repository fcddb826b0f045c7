// Roman numerals in lower-case letters, both ways.
#pragma once

#include <cstdint>

#include "frame/bytes.h"

namespace twinekit::encodings {

// The numeral of value; the empty result for 0 and below, and for a value
// whose numeral does not fit the 256-byte working area.
BSTR ArabicToRoman(int32_t value);

// The sum of the numeral's letters and pairs; every other byte is ignored.
// No validation, and the sum wraps around as a 32-bit Long.
int32_t RomanToArabic(Bytes txt);

}  // namespace twinekit::encodings
