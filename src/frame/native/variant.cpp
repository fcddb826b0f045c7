// Native VARIANTs: initialisation, copying and the one conversion the
// library needs, to a Long (VT_I4), following the OLE Automation rules for
// every numeric subtype and numeric text, by value and by reference.  A
// failed conversion is reported as an error code and leaves the
// destination unchanged.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "frame/native/numeric_text.h"
#include "frame/platform.h"

namespace {

constexpr VARTYPE kByRef = VT_BYREF;

// Rounds half to even, as OLE does for every fractional source, and checks
// the Long range on the rounded value.
HRESULT LongFromDouble(double value, int32_t* out) {
  if (std::isnan(value)) return DISP_E_OVERFLOW;
  const double rounded = std::nearbyint(value);  // default mode: half to even
  if (rounded < -2147483648.0 || rounded > 2147483647.0) return DISP_E_OVERFLOW;
  *out = static_cast<int32_t>(rounded);
  return S_OK;
}

template <typename Whole>
HRESULT LongFromWhole(Whole value, int32_t* out) {
  if (!std::in_range<int32_t>(value)) return DISP_E_OVERFLOW;
  *out = static_cast<int32_t>(value);
  return S_OK;
}

// Currency holds the value times 10000; round its fraction half to even.
HRESULT LongFromCurrency(int64_t scaled, int32_t* out) {
  int64_t whole = scaled / 10000;
  const int64_t rest = scaled % 10000;  // same sign as scaled
  const int64_t twice = 2 * (rest < 0 ? -rest : rest);
  const bool odd = (whole % 2) != 0;
  if (twice > 10000 || (twice == 10000 && odd)) whole += (scaled < 0) ? -1 : 1;
  return LongFromWhole(whole, out);
}

// The magnitude of a Decimal as a Double, found as the system finds it: the
// high 32 bits times 2^64 and the low 64 bits, each divided by ten to the
// scale (made by multiplying by ten), then added.  Beyond 15 significant
// digits this rounds differently from the exact value, and a fraction just
// above a half can round down.  Every step rounds to a Double, as on
// 64-bit Windows (32-bit Windows keeps the steps in the x87's wider
// registers and may round the other way there); on 32-bit x86 that needs
// this file built for SSE2 arithmetic (CMakeLists.txt), so that every
// build of the native library gives the same answer.
double DoubleFromDecimal(uint32_t high, uint64_t low, uint8_t scale) {
  double divisor = 1;
  for (uint8_t i = 0; i < scale; ++i) divisor *= 10;
  return static_cast<double>(high) * 18446744073709551616.0 / divisor +
         static_cast<double>(low) / divisor;
}

// A DECIMAL is 16 bytes: two reserved, the scale (0 to 28 decimal places),
// the sign (0x80 for negative), then the 96-bit magnitude as its high 32
// bits and its low 64.  It is rounded half to even as a Double.
HRESULT LongFromDecimal(const uint8_t* decimal, int32_t* out) {
  const uint8_t scale = decimal[2], sign = decimal[3];
  if (scale > 28 || (sign & 0x7F) != 0) return E_INVALIDARG;
  uint32_t high = 0;
  uint64_t low = 0;
  std::memcpy(&high, decimal + 4, sizeof high);
  std::memcpy(&low, decimal + 8, sizeof low);
  const double magnitude = DoubleFromDecimal(high, low, scale);
  return LongFromDouble(sign != 0 ? -magnitude : magnitude, out);
}

HRESULT LongFromString(BSTR text, int32_t* out) {
  return twinekit::native::LongFromNumericText(text, SysStringLen(text), out);
}

// The Variant whose value is converted: the Variant itself or, for one by
// reference to a Variant (what a Basic procedure passes on for its own
// Variant parameter), the Variant it points to, which may not point to a
// Variant again.
const VARIANT* ValueHolder(const VARIANT& v) {
  if (v.vt != (kByRef | VT_VARIANT)) return &v;
  const VARIANT* target = nullptr;
  std::memcpy(&target, &v.lVal, sizeof target);
  if (target == nullptr || target->vt == (kByRef | VT_VARIANT)) return nullptr;
  return target;
}

// Reads the value of a plain or by-reference VARIANT of a numeric or
// string type.  Types nothing converts are refused without following their
// pointer.
HRESULT LongFromVariant(const VARIANT& outer, int32_t* out) {
  const VARIANT* holder = ValueHolder(outer);
  if (holder == nullptr) return E_INVALIDARG;
  const VARIANT& v = *holder;
  const bool by_ref = (v.vt & kByRef) != 0;
  const VARTYPE type = static_cast<VARTYPE>(v.vt & ~kByRef);
  // A DECIMAL by value fills the whole Variant, its first two bytes the vt.
  const void* value = type == VT_DECIMAL ? static_cast<const void*>(&v) : &v.lVal;
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
    case VT_I1: *out = read(int8_t{}); return S_OK;
    case VT_UI1: *out = read(uint8_t{}); return S_OK;
    case VT_I2:
    case VT_BOOL: *out = read(int16_t{}); return S_OK;
    case VT_UI2: *out = read(uint16_t{}); return S_OK;
    case VT_I4:
    case VT_INT: *out = read(int32_t{}); return S_OK;
    case VT_UI4:
    case VT_UINT: return LongFromWhole(read(uint32_t{}), out);
    case VT_I8: return LongFromWhole(read(int64_t{}), out);
    case VT_UI8: return LongFromWhole(read(uint64_t{}), out);
    case VT_R4: return LongFromDouble(read(float{}), out);
    case VT_R8:
    case VT_DATE: return LongFromDouble(read(double{}), out);
    case VT_CY: return LongFromCurrency(read(int64_t{}), out);
    case VT_DECIMAL: return LongFromDecimal(static_cast<const uint8_t*>(value), out);
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
