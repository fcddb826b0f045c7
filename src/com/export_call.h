// One call of an export with a COM caller's arguments: each argument
// translated to the plain value the call layer takes, the export called,
// its result made a Variant, and an in-place string that the export
// changed written back into the caller's variable when it came by
// reference.
#pragma once

#include "com/com_types.h"
#include "exports/export_table.h"

namespace twinekit::com {

// args holds the export's arguments in its own order, first argument
// first.  Strings may come as any Variant that converts to a string (a
// String, a number, a Boolean, a date, Empty), numbers as any that converts
// to a number (by the system's rules, an Integer checked against 16 bits);
// a reference to a Variant or a String is followed.  An array or an object
// converts to nothing; a missing argument (VT_ERROR holding
// DISP_E_PARAMNOTFOUND) is refused as not optional.
//
// On success *result receives a String, an Integer (VT_I2), a Long
// (VT_I4), the Long Variant of cRomanToArabic, or Empty; it is written, not
// cleared first.  On failure the export may or may not have run, but
// nothing of the caller's has changed: not *result, not a variable; *bad
// is the index of a refused argument (unchanged when none was).
HRESULT CallExport(const ExportInfo& e, VARIANT* const* args, VARIANT* result, UINT* bad);

}  // namespace twinekit::com
