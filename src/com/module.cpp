// The module's class factory and the exports through which COM finds it
// and asks whether the module may be unloaded.
#define CINTERFACE
#include "com/module.h"

#include <objbase.h>

#include "com/strings_object.h"
#include "twinekit_com.h"

namespace twinekit::com {
namespace {

LONG objects = 0;
LONG locks = 0;

HRESULT STDMETHODCALLTYPE FactoryQueryInterface(IClassFactory* factory, REFIID riid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
    *out = factory;
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

// The factory is static: it lives as long as the module.
ULONG STDMETHODCALLTYPE FactoryAddRef(IClassFactory*) { return 2; }
ULONG STDMETHODCALLTYPE FactoryRelease(IClassFactory*) { return 1; }

HRESULT STDMETHODCALLTYPE CreateInstance(IClassFactory*, IUnknown* outer, REFIID riid,
                                         void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  return MakeStringsObject(riid, out);
}

HRESULT STDMETHODCALLTYPE LockServer(IClassFactory*, BOOL lock) {
  if (lock) {
    InterlockedIncrement(&locks);
  } else {
    InterlockedDecrement(&locks);
  }
  return S_OK;
}

constinit const IClassFactoryVtbl kFactoryMethods = {
    FactoryQueryInterface, FactoryAddRef, FactoryRelease, CreateInstance, LockServer};
constinit IClassFactory factory = {const_cast<IClassFactoryVtbl*>(&kFactoryMethods)};

}  // namespace

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

bool ModulePath(wchar_t* path, DWORD size) {
  const DWORD n = GetModuleFileNameW(ThisModule(), path, size);
  return n > 0 && n < size;
}

void ObjectMade() { InterlockedIncrement(&objects); }
void ObjectGone() { InterlockedDecrement(&objects); }

}  // namespace twinekit::com

using namespace twinekit::com;

extern "C" {

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, CLSID_Strings)) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.lpVtbl->QueryInterface(&factory, riid, out);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return objects == 0 && locks == 0 ? S_OK : S_FALSE;
}

}  // extern "C"
