#include "com/variant_change.h"

#include <cstdio>

namespace twinekit::com {
namespace {

bool Unconvertible(VARTYPE vt) {
  const VARTYPE base = vt & VT_TYPEMASK;
  return (vt & VT_ARRAY) != 0 || base == VT_DISPATCH || base == VT_UNKNOWN ||
         base == VT_RECORD || base == VT_VARIANT;
}

#ifdef _WIN32
HRESULT SystemChangeType(const VARIANT* v, VARTYPE vt, VARIANT* out) {
  VARIANT plain;  // a value by reference, read first
  VariantInit(&plain);
  HRESULT hr = VariantCopyInd(&plain, const_cast<VARIANT*>(v));  // reads it only
  if (SUCCEEDED(hr)) hr = VariantChangeType(out, &plain, vt == VT_BSTR ? VARIANT_ALPHABOOL : 0, vt);
  VariantClear(&plain);
  return hr;
}
#else
// The library's own layer converts to a Long; to text it knows the types
// a script passes most (a String, Empty, a Boolean, a whole number, a
// Double), and refuses the rest as a mismatch.
HRESULT TextOf(const char* text, VARIANT* out) {
  size_t n = std::strlen(text);
  BSTR s = SysAllocStringLen(nullptr, static_cast<UINT>(n));
  if (s == nullptr) return E_OUTOFMEMORY;
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<unsigned char>(text[i]);
  out->vt = VT_BSTR;
  out->bstrVal = s;
  return S_OK;
}

// The bytes of a value of the type that a reference points to.
size_t ValueSize(VARTYPE type) {
  switch (type) {
    case VT_I1: case VT_UI1: return 1;
    case VT_I2: case VT_UI2: case VT_BOOL: return 2;
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_R4: case VT_ERROR: return 4;
    case VT_R8: case VT_DATE: case VT_CY: case VT_I8: case VT_UI8: return 8;
    case VT_BSTR: return sizeof(BSTR);
    default: return 0;  // read by the library's own conversion, or refused
  }
}

HRESULT NativeToText(const VARIANT* v, VARIANT* out) {
  const bool by_ref = (v->vt & VT_BYREF) != 0;
  const VARTYPE type = v->vt & ~VT_BYREF;
  VARIANT value = *v;  // the value, a reference followed
  if (by_ref) {
    const void* p = Referent<const void>(*v);
    if (p == nullptr) return E_INVALIDARG;
    std::memcpy(&value.lVal, p, ValueSize(type));
  }
  char text[40];
  switch (type) {
    case VT_EMPTY: return TextOf("", out);
    case VT_BSTR: {
      BSTR s = SysAllocStringLen(value.bstrVal, SysStringLen(value.bstrVal));
      if (s == nullptr) return E_OUTOFMEMORY;
      out->vt = VT_BSTR;
      out->bstrVal = s;
      return S_OK;
    }
    case VT_BOOL: return TextOf(value.boolVal != 0 ? "True" : "False", out);
    case VT_R8: std::snprintf(text, sizeof text, "%.15G", value.dblVal); return TextOf(text, out);
    case VT_R4: std::snprintf(text, sizeof text, "%.7G", value.fltVal); return TextOf(text, out);
    default: break;
  }
  VARIANT whole;
  VariantInit(&whole);
  if (type == VT_DATE || type == VT_CY || type == VT_DECIMAL ||
      VariantChangeType(&whole, v, 0, VT_I4) != S_OK) {
    return DISP_E_TYPEMISMATCH;
  }
  std::snprintf(text, sizeof text, "%ld", static_cast<long>(whole.lVal));
  return TextOf(text, out);
}

HRESULT SystemChangeType(const VARIANT* v, VARTYPE vt, VARIANT* out) {
  if (vt == VT_BSTR) return NativeToText(v, out);
  VARIANT n;
  VariantInit(&n);
  const HRESULT hr = VariantChangeType(&n, v, 0, VT_I4);
  if (hr != S_OK) return hr;
  if (vt == VT_I2 && (n.lVal < INT16_MIN || n.lVal > INT16_MAX)) return DISP_E_OVERFLOW;
  out->vt = vt;
  if (vt == VT_I2) out->iVal = static_cast<int16_t>(n.lVal);
  else out->lVal = n.lVal;
  return S_OK;
}
#endif

}  // namespace

HRESULT ChangeType(const VARIANT* v, VARTYPE vt, VARIANT* out) {
  VariantInit(out);
  if (Unconvertible(v->vt)) return DISP_E_TYPEMISMATCH;
  const HRESULT hr = SystemChangeType(v, vt, out);
  if (FAILED(hr)) VariantClear(out);
  return hr;
}

}  // namespace twinekit::com
