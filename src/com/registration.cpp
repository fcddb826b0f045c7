// Registration of the class, its ProgIDs, its interface and its type
// library: machine-wide (regsvr32, DllRegisterServer) under
// HKEY_LOCAL_MACHINE\Software\Classes, or for the current user alone
// (regsvr32 /n /i:user, DllInstall) under HKEY_CURRENT_USER\Software\Classes,
// which needs no administrator.  The type library is registered for this
// module's width (win32 or win64) beside the other width's, which
// unregistering leaves in place.
#define CINTERFACE
#include <windows.h>
#include <oleauto.h>
#include <olectl.h>

#include <cwchar>

#include "class_ids.h"
#include "com/module.h"

namespace twinekit::com {
namespace {

#define TK_LIBRARY_FILE_KEY(width) \
  L"TypeLib\\" TK_COM_LIBID L"\\" TK_COM_LIBRARY_VERSION L"\\0\\" width
#ifdef _WIN64
constexpr const wchar_t* kLibraryFileKey = TK_LIBRARY_FILE_KEY(L"win64");
constexpr const wchar_t* kOtherLibraryFileKey = TK_LIBRARY_FILE_KEY(L"win32");
#else
constexpr const wchar_t* kLibraryFileKey = TK_LIBRARY_FILE_KEY(L"win32");
constexpr const wchar_t* kOtherLibraryFileKey = TK_LIBRARY_FILE_KEY(L"win64");
#endif

// The marshaller of every dual interface described by a type library.
constexpr const wchar_t* kTypeLibraryMarshaller = L"{00020424-0000-0000-C000-000000000046}";

constexpr const wchar_t* kClassKey = L"CLSID\\" TK_COM_CLSID;
constexpr const wchar_t* kInterfaceKey = L"Interface\\" TK_COM_IID;
constexpr const wchar_t* kLibraryKey = L"TypeLib\\" TK_COM_LIBID;
constexpr const wchar_t* kLibraryVersionKey =
    L"TypeLib\\" TK_COM_LIBID L"\\" TK_COM_LIBRARY_VERSION;

struct Entry {
  const wchar_t* key;    // under the classes root
  const wchar_t* name;   // null for the key's default value
  const wchar_t* value;  // %P is the module's path, %D its folder
};

constexpr Entry kEntries[] = {
    {kClassKey, nullptr, TK_COM_PROGID},
    {L"CLSID\\" TK_COM_CLSID L"\\InprocServer32", nullptr, L"%P"},
    {L"CLSID\\" TK_COM_CLSID L"\\InprocServer32", L"ThreadingModel", L"Both"},
    {L"CLSID\\" TK_COM_CLSID L"\\ProgID", nullptr, TK_COM_PROGID_VERSIONED},
    {L"CLSID\\" TK_COM_CLSID L"\\VersionIndependentProgID", nullptr, TK_COM_PROGID},
    {L"CLSID\\" TK_COM_CLSID L"\\TypeLib", nullptr, TK_COM_LIBID},
    {L"CLSID\\" TK_COM_CLSID L"\\Version", nullptr, TK_COM_LIBRARY_VERSION},
    {TK_COM_PROGID, nullptr, TK_COM_PROGID},
    {TK_COM_PROGID L"\\CLSID", nullptr, TK_COM_CLSID},
    {TK_COM_PROGID L"\\CurVer", nullptr, TK_COM_PROGID_VERSIONED},
    {TK_COM_PROGID_VERSIONED, nullptr, TK_COM_PROGID},
    {TK_COM_PROGID_VERSIONED L"\\CLSID", nullptr, TK_COM_CLSID},
    {kLibraryVersionKey, nullptr, TK_COM_LIBRARY_TITLE},
    {kLibraryFileKey, nullptr, L"%P"},
    {L"TypeLib\\" TK_COM_LIBID L"\\" TK_COM_LIBRARY_VERSION L"\\FLAGS", nullptr, L"0"},
    {L"TypeLib\\" TK_COM_LIBID L"\\" TK_COM_LIBRARY_VERSION L"\\HELPDIR", nullptr, L"%D"},
    {kInterfaceKey, nullptr, TK_COM_INTERFACE_NAME},
    {L"Interface\\" TK_COM_IID L"\\ProxyStubClsid", nullptr, kTypeLibraryMarshaller},
    {L"Interface\\" TK_COM_IID L"\\ProxyStubClsid32", nullptr, kTypeLibraryMarshaller},
    {L"Interface\\" TK_COM_IID L"\\TypeLib", nullptr, TK_COM_LIBID},
    {L"Interface\\" TK_COM_IID L"\\TypeLib", L"Version", TK_COM_LIBRARY_VERSION},
};

constexpr size_t kText = 2 * MAX_PATH + 64;

// text with %P and %D replaced; false when it does not fit.
bool Expand(const wchar_t* text, const wchar_t* path, wchar_t* out) {
  size_t n = 0;
  for (const wchar_t* p = text; *p != 0; ++p) {
    const wchar_t* piece = nullptr;
    size_t length = 1;
    if (p[0] == L'%' && (p[1] == L'P' || p[1] == L'D')) {
      piece = path;
      length = wcslen(piece);
      if (p[1] == L'D') {
        const wchar_t* slash = wcsrchr(path, L'\\');
        length = slash == nullptr ? 0 : static_cast<size_t>(slash - path);
      }
      ++p;
    } else {
      piece = p;
    }
    if (n + length >= kText) return false;
    wmemcpy(out + n, piece, length);
    n += length;
  }
  out[n] = 0;
  return true;
}

HRESULT OpenRoot(bool per_user, HKEY* root) {
  const LONG rc = RegCreateKeyExW(per_user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE,
                                  L"Software\\Classes", 0, nullptr, 0,
                                  KEY_READ | KEY_WRITE, nullptr, root, nullptr);
  return rc == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(rc);
}

HRESULT WriteEntry(HKEY root, const Entry& e, const wchar_t* path) {
  wchar_t key[kText], value[kText];
  if (!Expand(e.key, path, key) || !Expand(e.value, path, value)) return E_FAIL;
  HKEY k = nullptr;
  LONG rc = RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr);
  if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
  rc = RegSetValueExW(k, e.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                      static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
  RegCloseKey(k);
  return rc == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(rc);
}

void DeleteTree(HKEY root, const wchar_t* key) {
  RegDeleteTreeW(root, key);
  RegDeleteKeyW(root, key);
}

bool KeyExists(HKEY root, const wchar_t* key) {
  HKEY k = nullptr;
  if (RegOpenKeyExW(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

HRESULT Unregister(bool per_user) {
  HKEY root = nullptr;
  const HRESULT hr = OpenRoot(per_user, &root);
  if (FAILED(hr)) return hr;
  DeleteTree(root, kClassKey);
  DeleteTree(root, TK_COM_PROGID);
  DeleteTree(root, TK_COM_PROGID_VERSIONED);
  // The type library and the interface stay while the other width's
  // module is registered.
  DeleteTree(root, kLibraryFileKey);
  if (!KeyExists(root, kOtherLibraryFileKey)) {
    DeleteTree(root, kLibraryKey);
    DeleteTree(root, kInterfaceKey);
  }
  RegCloseKey(root);
  return S_OK;
}

HRESULT Register(bool per_user) {
  wchar_t path[MAX_PATH];
  if (!ModulePath(path, MAX_PATH)) return SELFREG_E_CLASS;
  // A module whose type library cannot be read is not registered.
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLibEx(path, REGKIND_NONE, &library))) return SELFREG_E_TYPELIB;
  library->lpVtbl->Release(library);
  HKEY root = nullptr;
  HRESULT hr = OpenRoot(per_user, &root);
  if (FAILED(hr)) return SELFREG_E_CLASS;
  for (const Entry& e : kEntries) {
    if (SUCCEEDED(hr)) hr = WriteEntry(root, e, path);
  }
  RegCloseKey(root);
  if (FAILED(hr)) {
    Unregister(per_user);
    return SELFREG_E_CLASS;
  }
  return S_OK;
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
