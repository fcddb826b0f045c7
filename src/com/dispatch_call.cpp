#include "com/dispatch_call.h"

#include "call/typed_call.h"
#include "com/export_call.h"

namespace twinekit::com {
namespace {

bool ParamsReadable(const DISPPARAMS* params) {
  return params != nullptr && (params->cArgs == 0 || params->rgvarg != nullptr) &&
         (params->cNamedArgs == 0 || params->rgdispidNamedArgs != nullptr);
}

// The export's arguments in its own order, and where each is in rgvarg.
struct Placed {
  VARIANT* args[call::kMaxArgs] = {};
  UINT where[call::kMaxArgs] = {};
};

// Places the named arguments at their DISPIDs and the positional ones in
// the places left, first to last; an argument named twice, out of range,
// or named where a positional one goes is not found.
HRESULT Place(const DISPPARAMS& params, UINT n, Placed& p, UINT* bad_argument) {
  for (UINT j = 0; j < params.cNamedArgs; ++j) {
    const DISPID id = params.rgdispidNamedArgs[j];
    if (id < 0 || static_cast<UINT>(id) >= n || p.args[id] != nullptr) {
      if (bad_argument != nullptr) *bad_argument = j;
      return DISP_E_PARAMNOTFOUND;
    }
    p.args[id] = &params.rgvarg[j];
    p.where[id] = j;
  }
  for (UINT k = 0; k < n - params.cNamedArgs; ++k) {
    const UINT j = params.cArgs - 1 - k;
    if (p.args[k] != nullptr) {
      if (bad_argument != nullptr) *bad_argument = j;
      return DISP_E_PARAMNOTFOUND;
    }
    p.args[k] = &params.rgvarg[j];
    p.where[k] = j;
  }
  return S_OK;
}

}  // namespace

HRESULT InvokeExport(DISPID member, WORD flags, const DISPPARAMS* params, VARIANT* result,
                     UINT* bad_argument) {
  if (member < 1 || member > static_cast<DISPID>(kExports.size()) ||
      (flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) == 0) {
    return DISP_E_MEMBERNOTFOUND;
  }
  if (!ParamsReadable(params)) return E_INVALIDARG;
  const ExportInfo& e = kExports[static_cast<size_t>(member - 1)];
  const UINT n = static_cast<UINT>(e.args.size());
  if (params->cArgs != n || params->cNamedArgs > n) return DISP_E_BADPARAMCOUNT;
  Placed p;
  HRESULT hr = Place(*params, n, p, bad_argument);
  if (FAILED(hr)) return hr;
  VARIANT made;
  UINT bad = n;  // none refused
  hr = CallExport(e, p.args, &made, &bad);
  if (FAILED(hr)) {
    if (bad_argument != nullptr && bad < n) *bad_argument = p.where[bad];
    return hr;
  }
  if (result != nullptr) {
    *result = made;
  } else {
    VariantClear(&made);
  }
  return S_OK;
}

}  // namespace twinekit::com
