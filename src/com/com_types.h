// The types and codes of OLE Automation that the object's argument
// translation uses.  On Windows they are the system's; natively, where the
// translation runs under the tests, the sanitizers and the fuzzer, the few
// it needs are defined here beside the library's own layer, with the
// system's values.
#pragma once

#include <cstdint>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#include <oleauto.h>
#else
#include "frame/platform.h"

using DISPID = int32_t;
using LONG = int32_t;
using SHORT = int16_t;
using WORD = uint16_t;

struct DISPPARAMS {
  VARIANT* rgvarg;
  DISPID* rgdispidNamedArgs;
  UINT cArgs;
  UINT cNamedArgs;
};

#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)

inline constexpr VARTYPE VT_DISPATCH = 9;
inline constexpr VARTYPE VT_UNKNOWN = 13;
inline constexpr VARTYPE VT_RECORD = 36;
inline constexpr VARTYPE VT_ARRAY = 0x2000;
inline constexpr VARTYPE VT_TYPEMASK = 0x0FFF;
inline constexpr DISPID DISPID_UNKNOWN = -1;
inline constexpr WORD DISPATCH_METHOD = 1;
inline constexpr WORD DISPATCH_PROPERTYGET = 2;
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003u);
inline constexpr HRESULT DISP_E_PARAMNOTFOUND = static_cast<HRESULT>(0x80020004u);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000Eu);
inline constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = static_cast<HRESULT>(0x8002000Fu);
#endif

namespace twinekit::com {

// What a Variant by reference points to: its pointer sits where a Long's
// value does, in either layout.
template <typename T>
T* Referent(const VARIANT& v) {
  T* p = nullptr;
  std::memcpy(&p, &v.lVal, sizeof p);
  return p;
}

}  // namespace twinekit::com
