// The platform services the library runs on: OLE Automation strings and
// variants, and the COM task allocator.  On Windows these are the system's
// own; elsewhere the library carries a small layer with the same behaviour
// (src/frame/native).
#pragma once

#include <cstddef>

#include "twinekit.h"

#ifdef _WIN32
#include <objbase.h>
#else
extern "C" {
TK_API BSTR SysAllocStringByteLen(const char* source, UINT length);
TK_API BSTR SysAllocStringLen(const OLECHAR* source, UINT length);
TK_API UINT SysStringByteLen(BSTR s);
TK_API UINT SysStringLen(BSTR s);
TK_API void SysFreeString(BSTR s);
TK_API void VariantInit(VARIANT* v);
TK_API HRESULT VariantClear(VARIANT* v);
TK_API HRESULT VariantCopy(VARIANT* destination, const VARIANT* source);
TK_API HRESULT VariantChangeType(VARIANT* destination, const VARIANT* source,
                                 uint16_t flags, VARTYPE type);
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
