#include "com/export_call.h"

#include <array>

#include "call/export_call.h"
#include "com/ansi_strings.h"
#include "com/variant_change.h"

namespace twinekit::com {
namespace {

using call::ExportCall;
using call::kMaxArgs;

// The Variant an argument stands for: a reference to a Variant followed.
const VARIANT* Referenced(const VARIANT* v) {
  if (v->vt != (VT_BYREF | VT_VARIANT)) return v;
  const VARIANT* held = Referent<const VARIANT>(*v);
  return held != nullptr ? held : v;
}

bool Missing(const VARIANT* v) {
  return v->vt == VT_ERROR && v->lVal == DISP_E_PARAMNOTFOUND;
}

HRESULT ReadString(ExportCall& call, size_t i, const VARIANT* v) {
  BSTR bytes = nullptr;
  HRESULT hr = S_OK;
  if (v->vt == VT_BSTR) {
    hr = AnsiFromWide(v->bstrVal, &bytes);
  } else if (v->vt == (VT_BYREF | VT_BSTR)) {
    const BSTR* variable = Referent<BSTR>(*v);
    hr = AnsiFromWide(variable != nullptr ? *variable : nullptr, &bytes);
  } else {
    VARIANT text;
    hr = ChangeType(v, VT_BSTR, &text);
    if (SUCCEEDED(hr)) hr = AnsiFromWide(text.bstrVal, &bytes);
    VariantClear(&text);
  }
  if (SUCCEEDED(hr)) call.TakeString(i, bytes);
  return hr;
}

HRESULT ReadNumber(ExportCall& call, size_t i, const VARIANT* v, VARTYPE vt) {
  VARIANT number;
  const HRESULT hr = ChangeType(v, vt, &number);
  if (SUCCEEDED(hr)) call.SetNumber(i, vt == VT_I2 ? number.iVal : number.lVal);
  VariantClear(&number);
  return hr;
}

HRESULT ReadArgument(ExportCall& call, size_t i, VARIANT* arg) {
  const VARIANT* v = Referenced(arg);
  if (Missing(v)) return DISP_E_PARAMNOTOPTIONAL;
  switch (call.info().args[i]) {
    case 'L': return ReadNumber(call, i, v, VT_I4);
    case 'I': return ReadNumber(call, i, v, VT_I2);
    case 'X':
      // The Variant goes to the export as the caller gave it, as a
      // Declare call passes the address of the caller's Variant: the
      // export converts a copy, and so decides what a reference holds
      // (a reference to a reference, or to Null, gives its empty result).
      call.SetVariant(i, arg);
      return S_OK;
    default: return ReadString(call, i, v);
  }
}

// The export's result as a Variant; the string result stays the call's.
HRESULT ResultVariant(const ExportCall& call, VARIANT* out) {
  VariantInit(out);
  const call::Result& r = call.result();
  switch (call.info().result) {
    case 'S': {
      BSTR wide = nullptr;
      const HRESULT hr = WideFromAnsi(r.string, &wide);
      if (FAILED(hr)) return hr;
      out->vt = VT_BSTR;
      out->bstrVal = wide;
      return S_OK;
    }
    case 'I':
      out->vt = VT_I2;
      out->iVal = static_cast<SHORT>(r.number);
      return S_OK;
    case 'L':
      out->vt = VT_I4;
      out->lVal = r.number;
      return S_OK;
    case 'X': *out = r.variant; return S_OK;
    default: return S_OK;
  }
}

// Where an in-place string goes back: the caller's String variable, the
// String a Variant variable refers to, or else the Variant variable itself,
// which holds a String from then on.  Null when the argument came by value.
BSTR* StringVariable(VARIANT* arg) {
  if (arg->vt == (VT_BYREF | VT_BSTR)) return Referent<BSTR>(*arg);
  if (arg->vt != (VT_BYREF | VT_VARIANT)) return nullptr;
  VARIANT* held = Referent<VARIANT>(*arg);
  if (held != nullptr && held->vt == (VT_BYREF | VT_BSTR)) return Referent<BSTR>(*held);
  return nullptr;
}

VARIANT* VariantVariable(VARIANT* arg) {
  if (arg->vt != (VT_BYREF | VT_VARIANT) || StringVariable(arg) != nullptr) return nullptr;
  return Referent<VARIANT>(*arg);
}

void WriteBack(VARIANT* arg, BSTR wide) {
  if (BSTR* s = StringVariable(arg); s != nullptr) {
    SysFreeString(*s);
    *s = wide;
  } else if (VARIANT* v = VariantVariable(arg); v != nullptr) {
    VariantClear(v);
    v->vt = VT_BSTR;
    v->bstrVal = wide;
  } else {
    SysFreeString(wide);
  }
}

// The converted text of each in-place argument that the export changed
// and that has a variable to go back to; everything that can fail is done
// here, before any of the caller's variables is touched.
class WriteBacks {
 public:
  ~WriteBacks() {
    for (BSTR s : texts_) SysFreeString(s);
  }

  HRESULT Prepare(const ExportCall& call, VARIANT* const* args) {
    for (size_t i = 0; i < call.info().args.size(); ++i) {
      if (call.info().args[i] != 'W' || !call.Changed(i)) continue;
      if (StringVariable(args[i]) == nullptr && VariantVariable(args[i]) == nullptr) continue;
      const HRESULT hr = WideFromAnsi(call.String(i), &texts_[i]);
      if (FAILED(hr)) return hr;
      wanted_[i] = true;
    }
    return S_OK;
  }

  void Commit(VARIANT* const* args) {
    for (size_t i = 0; i < kMaxArgs; ++i) {
      if (!wanted_[i]) continue;
      WriteBack(args[i], texts_[i]);
      texts_[i] = nullptr;
    }
  }

 private:
  std::array<BSTR, kMaxArgs> texts_{};
  std::array<bool, kMaxArgs> wanted_{};
};

}  // namespace

HRESULT CallExport(const ExportInfo& e, VARIANT* const* args, VARIANT* result, UINT* bad) {
  ExportCall call(e, ExportCall::Changes::kWatched);
  for (size_t i = 0; i < e.args.size(); ++i) {
    const HRESULT hr = ReadArgument(call, i, args[i]);
    if (FAILED(hr)) {
      if (bad != nullptr) *bad = static_cast<UINT>(i);
      return hr;
    }
  }
  if (!call.Run()) return E_OUTOFMEMORY;
  WriteBacks writes;
  HRESULT hr = writes.Prepare(call, args);
  VARIANT made;
  if (SUCCEEDED(hr)) hr = ResultVariant(call, &made);
  if (FAILED(hr)) return hr;
  writes.Commit(args);
  *result = made;
  return S_OK;
}

}  // namespace twinekit::com
