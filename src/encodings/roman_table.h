// The Roman numeral table, in lower-case letters, in the order in which a
// numeral is written: from 1000 down to 1, each subtractive pair in its
// place.  There is no letter above "m": thousands are so many "m".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace twinekit::encodings {

struct RomanRow {
  int32_t value;
  std::string_view letters;
};

inline constexpr RomanRow kRomanRows[] = {
    {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
    {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"},
};

// The working area a numeral is written in, and so its longest length.
inline constexpr size_t kRomanAreaSize = 256;

}  // namespace twinekit::encodings
