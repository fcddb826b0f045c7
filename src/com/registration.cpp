// The registration exports: machine-wide (regsvr32, DllRegisterServer)
// under HKEY_LOCAL_MACHINE\Software\Classes, or for the current user alone
// (regsvr32 /n /i:user, DllInstall) under HKEY_CURRENT_USER\Software\Classes,
// which needs no administrator.  What is written and deleted, for this
// module's width and view and for the state of the other width's, is
// com/registration_plan.cpp's; the result is the cause of a failure as the
// system gave it (an access denied as 0x80070005).
#define CINTERFACE
#include <windows.h>
#include <oleauto.h>

#include "com/module.h"
#include "com/registration_plan.h"
#include "com/system_registry.h"

namespace twinekit::com {
namespace {

HKEY RootOf(bool per_user) { return per_user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

HRESULT Unregister(bool per_user) {
  SystemRegistry registry(RootOf(per_user));
  return UnregisterStringsClass(registry, kOwnView);
}

HRESULT Register(bool per_user) {
  const ModulePath path;
  if (path.get() == nullptr) return path.status();
  // A module whose type library cannot be read is not registered.
  ITypeLib* library = nullptr;
  const HRESULT loaded = LoadOwnTypeLibrary(&library);
  if (FAILED(loaded)) return loaded;
  library->lpVtbl->Release(library);
  SystemRegistry registry(RootOf(per_user));
  return RegisterStringsClass(registry, kOwnView, path.get());
}

}  // namespace
}  // namespace twinekit::com

using namespace twinekit::com;

extern "C" {

HRESULT STDAPICALLTYPE DllRegisterServer() { return Register(false); }

HRESULT STDAPICALLTYPE DllUnregisterServer() { return Unregister(false); }

// regsvr32 /n /i:user registers for the current user (and /u /n /i:user
// unregisters); no command line, or "machine", does what DllRegisterServer
// does.
HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR command) {
  bool per_user = false;
  if (command != nullptr && *command != 0) {
    if (lstrcmpiW(command, L"user") == 0) {
      per_user = true;
    } else if (lstrcmpiW(command, L"machine") != 0) {
      return E_INVALIDARG;
    }
  }
  return install ? Register(per_user) : Unregister(per_user);
}

}  // extern "C"
