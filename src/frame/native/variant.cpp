// Native VARIANTs: initialisation, copying and the one conversion the
// library needs, to a Long (VT_I4), following the OLE Automation rules for
// the types a Basic host passes.  A failed conversion is reported as an
// error code and leaves the destination unchanged.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "frame/native/numeric_text.h"
#include "frame/platform.h"

namespace {

constexpr VARTYPE kByRef = 0x4000;

// Rounds half to even, as OLE does for every fractional source, and checks
// the Long range on the rounded value.
HRESULT LongFromDouble(double value, int32_t* out) {
  if (std::isnan(value)) return DISP_E_OVERFLOW;
  const double rounded = std::nearbyint(value);  // default mode: half to even
  if (rounded < -2147483648.0 || rounded > 2147483647.0) return DISP_E_OVERFLOW;
  *out = static_cast<int32_t>(rounded);
  return S_OK;
}

// Currency holds the value times 10000; round its fraction half to even.
HRESULT LongFromCurrency(int64_t scaled, int32_t* out) {
  int64_t whole = scaled / 10000;
  const int64_t rest = scaled % 10000;  // same sign as scaled
  const int64_t twice = 2 * (rest < 0 ? -rest : rest);
  const bool odd = (whole % 2) != 0;
  if (twice > 10000 || (twice == 10000 && odd)) whole += (scaled < 0) ? -1 : 1;
  if (whole < INT32_MIN || whole > INT32_MAX) return DISP_E_OVERFLOW;
  *out = static_cast<int32_t>(whole);
  return S_OK;
}

HRESULT LongFromString(BSTR text, int32_t* out) {
  double value = 0;
  const UINT units = SysStringLen(text);
  if (!twinekit::native::ParseNumericText(text, units, &value)) {
    return DISP_E_TYPEMISMATCH;
  }
  return LongFromDouble(value, out);
}

// Reads the value of a plain or by-reference VARIANT of a basic type.
HRESULT LongFromVariant(const VARIANT& v, int32_t* out) {
  const bool by_ref = (v.vt & kByRef) != 0;
  const VARTYPE type = static_cast<VARTYPE>(v.vt & ~kByRef);
  const void* value = &v.lVal;
  if (by_ref) {
    std::memcpy(&value, &v.lVal, sizeof value);
    if (value == nullptr) return E_INVALIDARG;
  }
  auto read = [value](auto sample) {
    decltype(sample) x;
    std::memcpy(&x, value, sizeof x);
    return x;
  };
  switch (type) {
    case VT_EMPTY: *out = 0; return by_ref ? DISP_E_BADVARTYPE : S_OK;
    case VT_I2: *out = read(int16_t{}); return S_OK;
    case VT_I4: *out = read(int32_t{}); return S_OK;
    case VT_UI1: *out = read(uint8_t{}); return S_OK;
    case VT_BOOL: *out = read(int16_t{}); return S_OK;
    case VT_R4: return LongFromDouble(read(float{}), out);
    case VT_R8:
    case VT_DATE: return LongFromDouble(read(double{}), out);
    case VT_CY: return LongFromCurrency(read(int64_t{}), out);
    case VT_BSTR: return LongFromString(read(BSTR{}), out);
    case VT_NULL:
    case VT_ERROR: return DISP_E_TYPEMISMATCH;
    default: return DISP_E_BADVARTYPE;
  }
}

}  // namespace

extern "C" {

void VariantInit(VARIANT* v) {
  if (v == nullptr) return;
  std::memset(v, 0, sizeof *v);
}

HRESULT VariantClear(VARIANT* v) {
  if (v == nullptr) return E_INVALIDARG;
  if (v->vt == VT_BSTR) SysFreeString(v->bstrVal);
  std::memset(v, 0, sizeof *v);
  return S_OK;
}

HRESULT VariantCopy(VARIANT* destination, const VARIANT* source) {
  if (destination == nullptr || source == nullptr) return E_INVALIDARG;
  if (destination == source) return S_OK;
  VARIANT copy = *source;
  if (source->vt == VT_BSTR && source->bstrVal != nullptr) {
    copy.bstrVal = SysAllocStringByteLen(reinterpret_cast<const char*>(source->bstrVal),
                                         SysStringByteLen(source->bstrVal));
    if (copy.bstrVal == nullptr) return E_OUTOFMEMORY;
  }
  VariantClear(destination);
  *destination = copy;
  return S_OK;
}

HRESULT VariantChangeType(VARIANT* destination, const VARIANT* source,
                          uint16_t /*flags*/, VARTYPE type) {
  if (destination == nullptr || source == nullptr) return E_INVALIDARG;
  if (type != VT_I4) return DISP_E_BADVARTYPE;
  int32_t value = 0;
  const HRESULT status = LongFromVariant(*source, &value);
  if (status != S_OK) return status;
  if (destination != source) VariantClear(destination);
  else if (destination->vt == VT_BSTR) SysFreeString(destination->bstrVal);
  std::memset(destination, 0, sizeof *destination);
  destination->vt = VT_I4;
  destination->lVal = value;
  return S_OK;
}

}  // extern "C"
