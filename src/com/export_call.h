// One call of an export with a COM caller's arguments: each argument
// converted to the kind the export takes, the export called through its
// prototype, its result made a Variant, and the in-place string written
// back into the caller's variable when it came by reference.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "exports/export_table.h"

namespace twinekit::com {

// args holds the export's arguments in its own order, first argument
// first.  Strings may come as any Variant that converts to a string (a
// String, a number, a Boolean, a date, Empty), numbers as any that converts
// to a number (by the system's rules, an Integer checked against 16 bits);
// a reference to a Variant or a String is followed.  An array or an object
// converts to nothing.  On a failed conversion the result is the error of
// the conversion and *bad the index of the argument; the export is not
// called.  result receives a String, an Integer (VT_I2), a Long (VT_I4), the
// Long Variant of cRomanToArabic, or Empty.
HRESULT CallExport(const ExportInfo& e, VARIANT* const* args, VARIANT* result, UINT* bad);

}  // namespace twinekit::com
