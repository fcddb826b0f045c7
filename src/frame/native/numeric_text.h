// Reads the numeric text of a VT_BSTR variant the way OLE Automation's
// conversions read it in the English (United States) locale.
#pragma once

#include "frame/platform.h"

namespace twinekit::native {

// Accepts blanks around the number, a sign, digits with "," group
// separators, a "." fraction, an exponent ("E" or "D"), and "&H" / "&O"
// prefixed hexadecimal and octal.  False when the text is not a number.
bool ParseNumericText(const OLECHAR* text, UINT units, double* value);

}  // namespace twinekit::native
