// A caller's Variant read as a String, an Integer or a Long by the
// system's conversion rules, without calling back into the caller: an
// array, an object or a record converts to nothing.
#pragma once

#include "com/com_types.h"

namespace twinekit::com {

// A new Variant of type vt (VT_BSTR, VT_I2 or VT_I4) made from v, a
// reference to a value followed once; a Boolean becomes "True" or "False"
// as Basic writes it.  On failure the error of the conversion, and out is
// Empty.
HRESULT ChangeType(const VARIANT* v, VARTYPE vt, VARIANT* out);

}  // namespace twinekit::com
