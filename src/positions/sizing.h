// Sizing a text: cutting it, padding it, filling with a repeated pattern,
// aligning it in a field of blanks.
#pragma once

#include <cstdint>

#include "frame/bytes.h"

namespace twinekit::positions {

BSTR Truncate(Bytes txt, int32_t new_length);
BSTR TruncateOrPad(Bytes txt, int32_t new_length, Bytes filler);
BSTR CreateFilled(int32_t length, Bytes filler);
bool FillInPlace(MutableBytes txt, Bytes filler);
BSTR Align(Bytes txt, int16_t mode, int32_t width);

}  // namespace twinekit::positions
