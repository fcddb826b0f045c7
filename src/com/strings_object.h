// The one class of the COM module, TwineKit.Strings: a dual interface
// whose methods are the exports, under their own names, with the ordinals
// as DISPIDs.  Late-bound callers reach them through IDispatch, early-bound
// ones through the interface of the type library; both go through
// CallExport.
#pragma once

#include <windows.h>

namespace twinekit::com {

// A new object's interface for riid, as CoCreateInstance hands it out.
HRESULT MakeStringsObject(REFIID riid, void** out);

}  // namespace twinekit::com
