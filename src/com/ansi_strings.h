// Strings between a COM caller and the library: a caller's strings are
// UTF-16, the library's are bytes of the system's ANSI code page, and the
// object converts each way as a Basic host does around a call of a
// declared function.  Natively the code page is Latin-1.
#pragma once

#include "com/com_types.h"

namespace twinekit::com {

// The ANSI bytes of a UTF-16 string, as a new byte BSTR (null for an empty
// or null string, which the library reads as empty).  A character the code
// page lacks becomes its default character, never a look-alike that it has
// (no best fit: a full-width digit does not pass for a digit).
HRESULT AnsiFromWide(BSTR wide, BSTR* bytes);

// The UTF-16 string of a byte BSTR, never null (a null BSTR gives "").
HRESULT WideFromAnsi(BSTR bytes, BSTR* wide);

}  // namespace twinekit::com
