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
// The factory is static, but a client that holds it needs the module: its
// references count as the objects do.
LONG factory_references = 0;

ULONG STDMETHODCALLTYPE FactoryAddRef(IClassFactory*) {
  return static_cast<ULONG>(InterlockedIncrement(&factory_references));
}
ULONG STDMETHODCALLTYPE FactoryRelease(IClassFactory*) {
  return static_cast<ULONG>(InterlockedDecrement(&factory_references));
}

HRESULT STDMETHODCALLTYPE FactoryQueryInterface(IClassFactory* factory, REFIID riid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
    FactoryAddRef(factory);
    *out = factory;
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

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

// GetModuleFileNameW fills the buffer when the path does not fit: the
// buffer grows until it does.
ModulePath::ModulePath() {
  constexpr DWORD kLongest = 32768;
  for (DWORD size = MAX_PATH;; size = size * 2 < kLongest ? size * 2 : kLongest) {
    path_ = static_cast<wchar_t*>(CoTaskMemAlloc(size * sizeof(wchar_t)));
    if (path_ == nullptr) {
      status_ = E_OUTOFMEMORY;
      return;
    }
    const DWORD n = GetModuleFileNameW(ThisModule(), path_, size);
    if (n > 0 && n < size) return;
    status_ = HRESULT_FROM_WIN32(n == 0 ? GetLastError() : ERROR_INSUFFICIENT_BUFFER);
    CoTaskMemFree(path_);
    path_ = nullptr;
    if (n == 0 || size == kLongest) return;
  }
}

ModulePath::~ModulePath() { CoTaskMemFree(path_); }

namespace {

// The short form of a long path, named with the \\?\ prefix as a long
// path must be (a UNC or prefixed path as it is); null when there is none.
wchar_t* ShortForm(const wchar_t* path) {
  const bool prefixed = path[0] == L'\\' && path[1] == L'\\';
  const size_t length = lstrlenW(path) + (prefixed ? 0 : 4);
  auto* long_form = static_cast<wchar_t*>(CoTaskMemAlloc((length + 1) * sizeof(wchar_t)));
  if (long_form == nullptr) return nullptr;
  lstrcpyW(long_form, prefixed ? L"" : L"\\\\?\\");
  lstrcatW(long_form, path);
  const DWORD size = GetShortPathNameW(long_form, nullptr, 0);
  auto* short_form =
      static_cast<wchar_t*>(size == 0 ? nullptr : CoTaskMemAlloc(size * sizeof(wchar_t)));
  const DWORD written = short_form == nullptr ? 0 : GetShortPathNameW(long_form, short_form, size);
  CoTaskMemFree(long_form);
  if (written == 0 || written >= size) {
    CoTaskMemFree(short_form);
    return nullptr;
  }
  return short_form;
}

}  // namespace

// LoadTypeLibEx does not read every path of MAX_PATH or more (Wine's reads
// none): from such a path the library is loaded by its short form, where
// the volume gives one.
HRESULT LoadOwnTypeLibrary(ITypeLib** library) {
  *library = nullptr;
  const ModulePath path;
  if (path.get() == nullptr) return path.status();
  const HRESULT hr = LoadTypeLibEx(path.get(), REGKIND_NONE, library);
  if (SUCCEEDED(hr) || lstrlenW(path.get()) < MAX_PATH) return hr;
  wchar_t* short_form = ShortForm(path.get());
  if (short_form == nullptr) return hr;
  const HRESULT again = LoadTypeLibEx(short_form, REGKIND_NONE, library);
  CoTaskMemFree(short_form);
  return SUCCEEDED(again) ? again : hr;
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
  return objects == 0 && locks == 0 && factory_references == 0 ? S_OK : S_FALSE;
}

}  // extern "C"
