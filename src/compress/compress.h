// Compression: blanks and tabs, and hexadecimal digits packed two to a
// byte.
#pragma once

#include <cstdint>

#include "frame/bytes.h"

namespace twinekit::compress {

// Blank space in a text: removing blanks, tabs and zero bytes, expanding
// each tab into a fixed number of blanks, and folding runs of blanks into
// tabs.  A tab always stands for the same number of blanks, whatever its
// column; line ends are ordinary bytes.

// txt without its blanks, tabs and zero bytes.
BSTR RemoveBlanks(Bytes txt);

// Each tab of txt becomes `width` blanks.
BSTR ExpandTabs(Bytes txt, int32_t width);

// Each run of k blanks becomes k / width tabs and k % width blanks.
BSTR CompressBlanksToTabs(Bytes txt, int32_t width);

// Hexadecimal digit strings packed two digits to a byte, and unpacked
// again as upper-case digits.

// The digits of txt packed two to a byte, earlier digit in the high half,
// right-aligned: an odd count gets a 0 digit in front.  Every byte is read
// as some digit value; none is refused.
BSTR PackDigits(Bytes txt);

// Each byte of txt as two upper-case hexadecimal digits, high half first.
BSTR UnpackDigits(Bytes txt);

}  // namespace twinekit::compress
