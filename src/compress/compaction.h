// Hexadecimal digit strings packed two digits to a byte, and unpacked
// again as upper-case digits.
#pragma once

#include "frame/bytes.h"

namespace twinekit::compress {

// The digits of txt packed two to a byte, earlier digit in the high half,
// right-aligned: an odd count gets a 0 digit in front.  Every byte is read
// as some digit value; none is refused.
BSTR PackDigits(Bytes txt);

// Each byte of txt as two upper-case hexadecimal digits, high half first.
BSTR UnpackDigits(Bytes txt);

}  // namespace twinekit::compress
