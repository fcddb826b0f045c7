// The platform services the library runs on: OLE Automation strings and
// variants, the COM task allocator and the calendar time.  On Windows these
// are the system's own; elsewhere the library carries a small layer with
// the same behaviour (src/frame/native).
#pragma once

#include <cstddef>
#include <cstdint>

#include "twinekit.h"

#ifdef _WIN32
#include <objbase.h>
#else
// The OLE Automation functions are declared by twinekit.h, which callers
// of the native library need too.
extern "C" {
void* CoTaskMemAlloc(size_t size);
void CoTaskMemFree(void* block);
}

// HRESULT values that the native layer reports.
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT DISP_E_BADVARTYPE = static_cast<HRESULT>(0x80020008u);
inline constexpr HRESULT DISP_E_OVERFLOW = static_cast<HRESULT>(0x8002000Au);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005u);
#endif

namespace twinekit {

// Whole seconds since 1970-01-01 00:00:00 UTC (frame/clock.cpp on Windows,
// frame/native/calendar_time.cpp elsewhere).
int64_t CalendarSeconds();

}  // namespace twinekit
