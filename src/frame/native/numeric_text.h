// Reads the numeric text of a VT_BSTR variant as a Long, the way OLE
// Automation's conversion reads it with the United States English
// settings, the one locale the native layer knows.
#pragma once

#include <cstdint>

#include "frame/platform.h"

namespace twinekit::native {

// Accepts, up to the first zero character: blanks (space, tab, line feed,
// vertical tab, form feed, carriage return) around the number; one sign,
// before the number or after it, or parentheses around a negative one; the
// currency symbol "$" once before the number and once after it; blanks
// after each of these; digits with "," group separators anywhere after the
// first digit, a "." fraction and an exponent ("E", not after a leading
// "$"); or, after a sign if you like, "&H" / "&O" hexadecimal and octal
// digits, a bit pattern read as signed: of 16 bits with at most four
// hexadecimal digits and no sign ("&HFFFF" is -1, as Basic reads it), of 32
// bits otherwise ("+&HFFFF" is 65535).  A decimal number is rounded half to even from its digits as
// written, not through a Double.  S_OK, DISP_E_TYPEMISMATCH when the text
// is not a number, or DISP_E_OVERFLOW when it is outside the Long range.
HRESULT LongFromNumericText(const OLECHAR* text, UINT units, int32_t* value);

}  // namespace twinekit::native
