// The object is written against the C form of the interfaces (CINTERFACE),
// so that its one table of methods is the very structure that the header
// made from the interface definition declares: a method whose parameters
// differ from the type library's does not compile.
#define CINTERFACE
#include "com/strings_object.h"

#include <algorithm>
#include <cstddef>
#include <tuple>
#include <utility>

#include "com/dispatch_call.h"
#include "com/export_call.h"
#include "com/module.h"
#include "frame/chars.h"
#include "exports/export_table.h"
#include "twinekit_com.h"

namespace twinekit::com {
namespace {

struct StringsObject {
  ITwineKitStrings face;
  LONG references;
};

StringsObject* Self(ITwineKitStrings* face) { return reinterpret_cast<StringsObject*>(face); }

HRESULT STDMETHODCALLTYPE QueryInterface(ITwineKitStrings* face, REFIID riid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
      IsEqualIID(riid, IID_ITwineKitStrings)) {
    InterlockedIncrement(&Self(face)->references);
    *out = face;
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE AddRef(ITwineKitStrings* face) {
  return static_cast<ULONG>(InterlockedIncrement(&Self(face)->references));
}

ULONG STDMETHODCALLTYPE Release(ITwineKitStrings* face) {
  const LONG left = InterlockedDecrement(&Self(face)->references);
  if (left == 0) {
    CoTaskMemFree(Self(face));
    ObjectGone();
  }
  return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE GetTypeInfoCount(ITwineKitStrings*, UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}

// The interface's description, from the type library in this module.
HRESULT STDMETHODCALLTYPE GetTypeInfo(ITwineKitStrings*, UINT index, LCID, ITypeInfo** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  ITypeLib* library = nullptr;
  HRESULT hr = LoadOwnTypeLibrary(&library);
  if (FAILED(hr)) return hr;
  hr = library->lpVtbl->GetTypeInfoOfGuid(library, IID_ITwineKitStrings, out);
  library->lpVtbl->Release(library);
  return hr;
}

// Names compare as Basic compares them, without regard to case (ASCII).
bool SameName(const OLECHAR* given, std::string_view name) {
  size_t i = 0;
  for (; given[i] != 0; ++i) {
    // A character beyond one byte matches no name, which is ASCII.
    if (i == name.size() || given[i] > 0xFF) return false;
    if (ToLower(static_cast<uint8_t>(given[i])) != ToLower(static_cast<uint8_t>(name[i]))) return false;
  }
  return i == name.size();
}

// The position of an argument named given among an export's, or -1.
DISPID ArgumentId(size_t index, const OLECHAR* given) {
  std::string_view names = kExports[index].params;
  for (DISPID id = 0; !names.empty(); ++id) {
    const size_t blank = std::min(names.find(' '), names.size());
    if (SameName(given, std::string_view(names.data(), blank))) return id;
    names.remove_prefix(std::min(blank + 1, names.size()));
  }
  return DISPID_UNKNOWN;
}

// An export's DISPID is its ordinal; its arguments' are their positions.
HRESULT STDMETHODCALLTYPE GetIDsOfNames(ITwineKitStrings*, REFIID riid, LPOLESTR* names,
                                        UINT count, LCID, DISPID* ids) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (count == 0) return S_OK;
  if (names == nullptr || ids == nullptr) return E_POINTER;
  size_t found = kExports.size();
  for (size_t i = 0; i < kExports.size() && found == kExports.size(); ++i) {
    if (names[0] != nullptr && SameName(names[0], kExports[i].name)) found = i;
  }
  HRESULT hr = S_OK;
  ids[0] = found < kExports.size() ? kExports[found].ordinal : DISPID_UNKNOWN;
  if (found == kExports.size()) hr = DISP_E_UNKNOWNNAME;
  for (UINT k = 1; k < count; ++k) {
    ids[k] = found < kExports.size() && names[k] != nullptr ? ArgumentId(found, names[k])
                                                            : DISPID_UNKNOWN;
    if (ids[k] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT STDMETHODCALLTYPE Invoke(ITwineKitStrings*, DISPID member, REFIID riid, LCID,
                                 WORD flags, DISPPARAMS* params, VARIANT* result,
                                 EXCEPINFO*, UINT* bad_argument) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  return InvokeExport(member, flags, params, result, bad_argument);
}

// The early-bound methods: each typed argument wrapped as a Variant,
// without a copy, for CallExport, and the result unwrapped into the last.
VARIANT OfType(VARTYPE vt) {
  VARIANT v;
  VariantInit(&v);
  v.vt = vt;
  return v;
}
VARIANT Wrapped(BSTR s) {
  VARIANT v = OfType(VT_BSTR);
  v.bstrVal = s;
  return v;
}
VARIANT Wrapped(BSTR* s) {
  VARIANT v = OfType(VT_BYREF | VT_BSTR);
  v.pbstrVal = s;
  return v;
}
VARIANT Wrapped(SHORT n) {
  VARIANT v = OfType(VT_I2);
  v.iVal = n;
  return v;
}
VARIANT Wrapped(LONG n) {
  VARIANT v = OfType(VT_I4);
  v.lVal = n;
  return v;
}
// A Variant goes as it came, the bytes of the caller's Variant: the export
// converts a copy of it, as a Declare call's export converts the caller's.
VARIANT Wrapped(VARIANT& held) { return held; }

void Unwrap(VARIANT& made, BSTR* out) { *out = made.bstrVal; }
void Unwrap(VARIANT& made, SHORT* out) { *out = made.iVal; }
void Unwrap(VARIANT& made, LONG* out) { *out = made.lVal; }
void Unwrap(VARIANT& made, VARIANT* out) { *out = made; }

template <size_t E, typename Method>
struct Early;

template <size_t E, typename... A>
struct Early<E, HRESULT(STDMETHODCALLTYPE*)(ITwineKitStrings*, A...)> {
  static constexpr const ExportInfo& kExport = kExports[E];
  static constexpr size_t kArgs = kExport.args.size();
  static constexpr bool kHasResult = kExport.result != 'N';
  static_assert(sizeof...(A) == kArgs + (kHasResult ? 1 : 0),
                "the interface and the export table disagree");

  static HRESULT STDMETHODCALLTYPE Call(ITwineKitStrings*, A... a) {
    return Forward(std::make_index_sequence<kArgs>{}, a...);
  }

  template <size_t... I>
  static HRESULT Forward(std::index_sequence<I...>, A&... a) {
    auto all = std::tie(a...);
    VARIANT wrapped[kArgs + 1] = {Wrapped(std::get<I>(all))...};
    VARIANT* args[kArgs + 1] = {&wrapped[I]...};
    VARIANT made;  // written only when the call succeeds
    if constexpr (kHasResult) {
      auto* out = std::get<kArgs>(all);
      if (out == nullptr) return E_POINTER;
      *out = {};
      const HRESULT hr = CallExport(kExport, args, &made, nullptr);
      if (SUCCEEDED(hr)) Unwrap(made, out);
      return hr;
    } else {
      const HRESULT hr = CallExport(kExport, args, &made, nullptr);
      if (SUCCEEDED(hr)) VariantClear(&made);
      return hr;
    }
  }
};

#define TK_EARLY_METHOD(name, ordinal, args, result, params) \
  &Early<ordinal - 1, decltype(ITwineKitStringsVtbl::name)>::Call,
constinit const ITwineKitStringsVtbl kMethods = {
    QueryInterface, AddRef,  Release, GetTypeInfoCount, GetTypeInfo, GetIDsOfNames, Invoke,
    TK_EXPORT_TABLE(TK_EARLY_METHOD)};
#undef TK_EARLY_METHOD

}  // namespace

HRESULT MakeStringsObject(REFIID riid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  auto* object = static_cast<StringsObject*>(CoTaskMemAlloc(sizeof(StringsObject)));
  if (object == nullptr) return E_OUTOFMEMORY;
  object->face.lpVtbl = const_cast<ITwineKitStringsVtbl*>(&kMethods);
  object->references = 1;
  ObjectMade();
  const HRESULT hr = QueryInterface(&object->face, riid, out);
  Release(&object->face);
  return hr;
}

}  // namespace twinekit::com
