// Fields of a text divided by a one-byte separator: one field counted from
// the left or the right, the parts around the first or last separator, the
// number of separators, and the library-wide default separator.
//
// A separator argument contributes only its first byte; an empty one gives
// the empty answer.  Every byte value can be a separator, the zero byte
// included.
#pragma once

#include <cstdint>

#include "frame/bytes.h"

namespace twinekit::fields {

// The default separator becomes the first byte of sep; an empty sep
// leaves it as it is.
void SetDefaultSeparatorFrom(Bytes sep);

// Field `index` counted from the left, divided at the default separator.
BSTR GetFieldAtDefault(Bytes txt, int32_t index);

// Field `index` counted from the left or from the right.
BSTR GetField(Bytes txt, Bytes sep, int32_t index);
BSTR GetFieldFromRight(Bytes txt, Bytes sep, int32_t index);

// With first_part -1: the part before the first separator (GetPart) or
// after the last one (GetPartFromRight).  With any other value: the rest
// of the text beyond that separator.
BSTR GetPart(Bytes txt, Bytes sep, int32_t first_part);
BSTR GetPartFromRight(Bytes txt, Bytes sep, int32_t first_part);

// The number of separator bytes in txt, as a 16-bit Integer (it wraps).
int16_t CountSeparators(Bytes txt, Bytes sep);

}  // namespace twinekit::fields
