// IDispatch::Invoke's work for the object's methods: the member and its
// flags checked, DISPPARAMS (named arguments first, then the positional
// ones last to first) put in the export's order, the call made.
#pragma once

#include "com/com_types.h"

namespace twinekit::com {

// member is an export's ordinal.  result may be null; when not, it is an
// out parameter, written on success only and never read or cleared.  On a
// refused argument *bad_argument (when not null) is its index in rgvarg.
HRESULT InvokeExport(DISPID member, WORD flags, const DISPPARAMS* params, VARIANT* result,
                     UINT* bad_argument);

}  // namespace twinekit::com
