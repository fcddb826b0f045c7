// com_client: a client of the COM module TwineKit.Strings, run under Wine
// by scripts/run-com-tests.sh.  It takes a label and steps, runs them in
// order in one process and ends with "LABEL: N passed, N failed":
//
//   none               nothing of the class is registered, machine-wide or
//                      for the user, and CoCreateInstance says so
//   machine DLL        the registry holds the class, its ProgIDs, its
//   user DLL           threading model, the type library and the interface
//                      for DLL, under that root alone, and the object is
//                      made by ProgID
//   user32, user64 DLL the same for the module of that width, in its view
//                      (a program of either width reads both views)
//   alone32, alone64 DLL  machine-wide, that width's module registered and
//                      the other width's not: the first as "machine", and
//                      nothing of the other width in its view
//   purge              deletes every key of the class, under both roots in
//                      both views (what an earlier run may have left)
//   gone               no key of the class, ProgIDs, type library or
//                      interface under either root in either view
//   factory DLL        loaded by hand: a held class factory, or a lock,
//                      keeps DllCanUnloadNow at S_FALSE
//   longpath DLL       copied into a folder deeper than MAX_PATH and loaded
//   longpathreg DLL    from there, the object made and its type information
//                      read; longpathreg registers from there and
//                      unregisters (machine-wide: run it with nothing of
//                      this width registered)
//   regfree MANIFEST   with nothing registered, the object is made through
//                      an activation context of the manifest
//   early              every case line a caller can pass, through the
//                      interface of the type library: each export at least
//                      once, each call leaving no allocation behind
//   late               the same through IDispatch::Invoke
//   errors             the errors of IDispatch for a wrong count, a type
//                      mismatch and an Integer overflow, and the object
//                      still working after them; named arguments; the
//                      result as an out parameter, and a failed call
//                      leaving the caller's variables as they were
//   text               (code page 1252) text the code page lacks: no
//                      look-alike characters, no write-back when no byte
//                      changed
//   apartments         the object called from another apartment, through
//                      the type library's marshaller
//   threads            the object called from two threads at once
//   names              the type library names the 64 methods and their
//                      arguments as the export table does
#define CINTERFACE
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "allocation_watch.h"
#include "host_call.h"
#include "cases/case_file.h"
#include "class_ids.h"
#include "exports/export_table.h"
#include "twinekit_com.h"

namespace {

int passed = 0, failed = 0;

void Expect(bool ok, const std::string& what) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    std::printf("FAIL %s\n", what.c_str());
  }
}

std::string Narrow(const wchar_t* w) {
  std::string out;
  for (; w != nullptr && *w != 0; ++w) out += *w < 128 ? static_cast<char>(*w) : '?';
  return out;
}

// Text for a message: UTF-16 beyond ASCII as \u escapes.
std::string Escaped(const wchar_t* w) {
  std::string out;
  for (; w != nullptr && *w != 0; ++w) {
    char code[8];
    std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(*w));
    out += *w < 128 ? std::string(1, static_cast<char>(*w)) : std::string(code);
  }
  return out;
}

std::string Hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

// Code-page bytes to UTF-16 and back, as the object converts them.
BSTR Wide(const std::string& bytes) {
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(n));
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out, n);
  return out;
}

std::string Bytes(BSTR wide) {
  const int length = static_cast<int>(SysStringLen(wide));
  const int n = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, length, out.data(), n, nullptr, nullptr);
  return out;
}

bool CodePageKeeps(const std::string& bytes) {
  BSTR w = Wide(bytes);
  const bool kept = Bytes(w) == bytes;
  SysFreeString(w);
  return kept;
}

// --- the registry ---------------------------------------------------------

// A value of a key in the view of programs of the client's width, or in
// the view that KEY_WOW64_32KEY or KEY_WOW64_64KEY names.
std::wstring ReadValue(HKEY root, const std::wstring& key, const wchar_t* name, REGSAM view = 0) {
  wchar_t value[1024];
  DWORD size = sizeof value;
  HKEY k = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE | view, &k) != ERROR_SUCCESS) {
    return L"(missing)";
  }
  const LONG rc = RegGetValueW(k, nullptr, name, RRF_RT_REG_SZ, nullptr, value, &size);
  RegCloseKey(k);
  return rc == ERROR_SUCCESS ? value : L"(missing)";
}

std::wstring Classes(const std::wstring& key) { return L"Software\\Classes\\" + key; }

// The view of the registry of the programs of a width.
struct View {
  int bits;
  REGSAM flag() const { return bits == 32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }
  const wchar_t* width() const { return bits == 32 ? L"win32" : L"win64"; }
  View other() const { return {96 - bits}; }
};
constexpr View kOwnView{8 * sizeof(void*)};

// What COM and the type library's users read, for a module at dll.
void CheckRegistered(HKEY root, const std::wstring& dll, View view = kOwnView) {
  const std::wstring clsid = L"CLSID\\" TK_COM_CLSID;
  const std::wstring library = L"TypeLib\\" TK_COM_LIBID L"\\" TK_COM_LIBRARY_VERSION;
  const std::wstring iface = L"Interface\\" TK_COM_IID;
  const struct {
    std::wstring key;
    const wchar_t* name;
    std::wstring want;
  } values[] = {
      {clsid + L"\\InprocServer32", nullptr, dll},
      {clsid + L"\\InprocServer32", L"ThreadingModel", L"Both"},
      {clsid + L"\\ProgID", nullptr, TK_COM_PROGID_VERSIONED},
      {clsid + L"\\VersionIndependentProgID", nullptr, TK_COM_PROGID},
      {clsid + L"\\TypeLib", nullptr, TK_COM_LIBID},
      {TK_COM_PROGID L"\\CLSID", nullptr, TK_COM_CLSID},
      {TK_COM_PROGID L"\\CurVer", nullptr, TK_COM_PROGID_VERSIONED},
      {TK_COM_PROGID_VERSIONED L"\\CLSID", nullptr, TK_COM_CLSID},
      {library + L"\\0\\" + view.width(), nullptr, dll},
      {iface + L"\\ProxyStubClsid32", nullptr, L"{00020424-0000-0000-C000-000000000046}"},
      {iface + L"\\TypeLib", nullptr, TK_COM_LIBID},
  };
  for (const auto& v : values) {
    // The ProgIDs, which the views share, are read in the client's own:
    // under Wine a 64-bit program asking for the 32-bit view does not find
    // the keys that 32-bit programs share with it.
    const bool shared = v.key.starts_with(TK_COM_PROGID);
    const std::wstring got = ReadValue(root, Classes(v.key), v.name, shared ? 0 : view.flag());
    Expect(lstrcmpiW(got.c_str(), v.want.c_str()) == 0,
           "registry " + Narrow(v.key.c_str()) + (v.name ? " " + Narrow(v.name) : "") + ": " +
               Narrow(got.c_str()) + ", want " + Narrow(v.want.c_str()));
  }
}

bool KeyIn(HKEY root, const std::wstring& key, REGSAM view = 0) {
  HKEY k = nullptr;
  if (RegOpenKeyExW(root, Classes(key).c_str(), 0, KEY_READ | view, &k) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(k);
  return true;
}

bool ClassKeyIn(HKEY root, REGSAM view = 0) { return KeyIn(root, L"CLSID\\" TK_COM_CLSID, view); }

HRESULT MakeObject(ITwineKitStrings** out) {
  *out = nullptr;
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(TK_COM_PROGID, &clsid);
  if (FAILED(hr)) return hr;
  return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_ITwineKitStrings,
                          reinterpret_cast<void**>(out));
}

// A first call: cGetIn 'a|b|c' '|' 2 => 'b'.
void ExpectWorks(ITwineKitStrings* o, const std::string& how) {
  BSTR text = SysAllocString(L"a|b|c"), sep = SysAllocString(L"|"), field = nullptr;
  const HRESULT hr = o->lpVtbl->cGetIn(o, text, sep, 2, &field);
  Expect(hr == S_OK && field != nullptr && lstrcmpW(field, L"b") == 0, how + ": cGetIn gives 'b'");
  SysFreeString(field);
  SysFreeString(sep);
  SysFreeString(text);
}

// Wine, which reads HKEY_CLASSES_ROOT from the machine's classes alone, so
// that a registration for the user is in the registry but not seen by COM.
bool UnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

void StepRegistered(HKEY root, HKEY other_root, const std::wstring& dll, const std::string& how,
                    View view = kOwnView) {
  CheckRegistered(root, dll, view);
  Expect(!ClassKeyIn(other_root, view.flag()), how + ": the class is registered under one root only");
  if (view.bits != kOwnView.bits) return;  // a class of the other width is made by its programs
  if (root == HKEY_CURRENT_USER && UnderWine()) {
    std::printf("%s: not made through the registration for the user: Wine's COM does not read it\n", how.c_str());
    return;
  }
  ITwineKitStrings* o = nullptr;
  const HRESULT hr = MakeObject(&o);
  Expect(hr == S_OK, how + ": the object made by ProgID: " + Hex(hr));
  if (o != nullptr) {
    ExpectWorks(o, how);
    o->lpVtbl->Release(o);
  }
  ITypeLib* library = nullptr;
  const HRESULT loaded = LoadRegTypeLib(LIBID_TwineKit, 1, 0, 0, &library);
  Expect(loaded == S_OK, how + ": the registered type library loads: " + Hex(loaded));
  if (library != nullptr) library->lpVtbl->Release(library);
}

void StepNone() {
  Expect(!ClassKeyIn(HKEY_LOCAL_MACHINE) && !ClassKeyIn(HKEY_CURRENT_USER),
         "none: no class key, machine-wide or for the user");
  ITwineKitStrings* o = nullptr;
  const HRESULT hr = MakeObject(&o);
  Expect(FAILED(hr), "none: the object cannot be made: " + Hex(hr));
  if (o != nullptr) o->lpVtbl->Release(o);
}

void StepRegFree(const std::wstring& manifest) {
  StepNone();
  ACTCTXW context = {};
  context.cbSize = sizeof context;
  context.lpSource = manifest.c_str();
  HANDLE handle = CreateActCtxW(&context);
  Expect(handle != INVALID_HANDLE_VALUE,
         "regfree: an activation context from the manifest (error " + std::to_string(GetLastError()) + ")");
  if (handle == INVALID_HANDLE_VALUE) return;
  ULONG_PTR cookie = 0;
  Expect(ActivateActCtx(handle, &cookie) != FALSE, "regfree: the activation context is activated");
  ITwineKitStrings* o = nullptr;
  const HRESULT hr = MakeObject(&o);
  Expect(hr == S_OK, "regfree: the object made by ProgID through the manifest: " + Hex(hr));
  if (o != nullptr) {
    ExpectWorks(o, "regfree");
    o->lpVtbl->Release(o);
  }
  DeactivateActCtx(0, cookie);
  ReleaseActCtx(handle);
}

// --- both widths' registrations ---------------------------------------------

// The keys of the class under a classes root: its class, ProgIDs, type
// library and interface.
const wchar_t* const kKeysOfTheClass[] = {L"CLSID\\" TK_COM_CLSID, TK_COM_PROGID, TK_COM_PROGID_VERSIONED,
                                          L"TypeLib\\" TK_COM_LIBID, L"Interface\\" TK_COM_IID};
const HKEY kRoots[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};
const char* RootName(HKEY root) { return root == HKEY_LOCAL_MACHINE ? "HKLM" : "HKCU"; }

// Every key of the class gone from both roots and both views: a start with
// nothing registered, whatever an earlier run left.
void StepPurge() {
  int deleted = 0;
  for (HKEY root : kRoots) {
    for (View view : {View{32}, View{64}}) {
      for (const wchar_t* key : kKeysOfTheClass) {
        HKEY k = nullptr;
        const std::wstring path = Classes(key);
        if (RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS | view.flag(), &k) != ERROR_SUCCESS) continue;
        RegDeleteTreeW(k, nullptr);
        RegCloseKey(k);
        deleted += RegDeleteKeyExW(root, path.c_str(), view.flag(), 0) == ERROR_SUCCESS;
      }
    }
  }
  std::printf("purge: %d keys of the class left by an earlier run deleted\n", deleted);
}

// Nothing of the class under either root, in either view.
void StepGone() {
  for (HKEY root : kRoots) {
    for (View view : {View{32}, View{64}}) {
      for (const wchar_t* key : kKeysOfTheClass) {
        Expect(!KeyIn(root, key, view.flag()), std::string("gone: ") + RootName(root) + " " + Narrow(key) +
                                                   " in the " + std::to_string(view.bits) + "-bit view");
      }
    }
  }
}

// Machine-wide, the module of one width registered and the other's not
// (after its unregistration): this width's class, ProgIDs and type library
// still as COM reads them, nothing of the other width's left in its view
// (Wine keeps Interface apart for each view, as Windows does), and, from a
// program of this width, the object made.
void StepAlone(View view, const std::wstring& dll) {
  const std::string how = "alone" + std::to_string(view.bits);
  StepRegistered(HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, dll, how, view);
  const View other = view.other();
  const std::wstring other_file = L"TypeLib\\" TK_COM_LIBID L"\\" TK_COM_LIBRARY_VERSION L"\\0\\" +
                                  std::wstring(other.width());
  Expect(!ClassKeyIn(HKEY_LOCAL_MACHINE, other.flag()), how + ": no class in the other width's view");
  Expect(!KeyIn(HKEY_LOCAL_MACHINE, other_file, view.flag()), how + ": no type library file of the other width");
  Expect(!KeyIn(HKEY_LOCAL_MACHINE, L"Interface\\" TK_COM_IID, other.flag()),
         how + ": no interface in the other width's view");
}

// --- the module's own exports -------------------------------------------------

struct ModuleExports {
  HMODULE module = nullptr;
  HRESULT(STDAPICALLTYPE* get_class_object)(REFCLSID, REFIID, void**) = nullptr;
  HRESULT(STDAPICALLTYPE* can_unload_now)() = nullptr;
  HRESULT(STDAPICALLTYPE* register_server)() = nullptr;
  HRESULT(STDAPICALLTYPE* unregister_server)() = nullptr;
};

template <typename F>
void Export(HMODULE module, const char* name, F* f) {
  *f = reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

bool LoadModule(const std::wstring& path, ModuleExports* m, const std::string& how) {
  m->module = LoadLibraryW(path.c_str());
  Expect(m->module != nullptr, how + ": the module loads (error " + std::to_string(GetLastError()) + ")");
  if (m->module == nullptr) return false;
  Export(m->module, "DllGetClassObject", &m->get_class_object);
  Export(m->module, "DllCanUnloadNow", &m->can_unload_now);
  Export(m->module, "DllRegisterServer", &m->register_server);
  Export(m->module, "DllUnregisterServer", &m->unregister_server);
  const bool all = m->get_class_object && m->can_unload_now && m->register_server && m->unregister_server;
  Expect(all, how + ": the module's exports");
  if (!all) FreeLibrary(m->module);
  return all;
}

IClassFactory* Factory(const ModuleExports& m, const std::string& how) {
  IClassFactory* factory = nullptr;
  const HRESULT hr = m.get_class_object(CLSID_Strings, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  Expect(hr == S_OK && factory != nullptr, how + ": the class factory: " + Hex(hr));
  return factory;
}

// A client that keeps the class factory keeps the module loaded: while it
// holds it, or a lock, DllCanUnloadNow says S_FALSE.
void StepFactory(const std::wstring& dll) {
  ModuleExports m;
  if (!LoadModule(dll, &m, "factory")) return;
  IClassFactory* factory = Factory(m, "factory");
  if (factory != nullptr) {
    ITwineKitStrings* o = nullptr;
    const HRESULT hr =
        factory->lpVtbl->CreateInstance(factory, nullptr, IID_ITwineKitStrings, reinterpret_cast<void**>(&o));
    Expect(hr == S_OK, "factory: an object made: " + Hex(hr));
    if (o != nullptr) o->lpVtbl->Release(o);
    Expect(m.can_unload_now() == S_FALSE, "factory: the module stays while its factory is held");
    factory->lpVtbl->LockServer(factory, TRUE);
    factory->lpVtbl->Release(factory);
    Expect(m.can_unload_now() == S_FALSE, "factory: the module stays while locked");
    factory = Factory(m, "factory");
  }
  if (factory != nullptr) {
    factory->lpVtbl->LockServer(factory, FALSE);
    factory->lpVtbl->Release(factory);
    Expect(m.can_unload_now() == S_OK, "factory: with nothing held the module may go");
  }
  FreeLibrary(m.module);
}

// --- a module in a folder deeper than MAX_PATH -----------------------------------

// The module's name as the loader gives it, however long.
std::wstring FileOf(HMODULE module) {
  std::wstring name(32768, L'\0');
  name.resize(GetModuleFileNameW(module, name.data(), static_cast<DWORD>(name.size())));
  return name;
}

// The module copied into a folder whose path is longer than MAX_PATH (made
// one level at a time, named with the \\?\ prefix), loaded from there: it
// makes its object, and describes its interface from its own file.  With
// registration, it registers from there machine-wide (nothing else of its
// width may be registered) and unregisters.
void StepLongPath(const std::wstring& dll, bool registration) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::vector<std::wstring> folders = {L"\\\\?\\" + std::wstring(temp) + L"TwineKit long path"};
  while (folders.back().size() <= MAX_PATH) folders.push_back(folders.back() + L"\\" + std::wstring(60, L'd'));
  for (const std::wstring& folder : folders) CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring copy = folders.back() + dll.substr(dll.find_last_of(L'\\'));
  Expect(CopyFileW(dll.c_str(), copy.c_str(), FALSE) != FALSE,
         "longpath: the module copied (error " + std::to_string(GetLastError()) + ")");
  ModuleExports m;
  if (LoadModule(copy, &m, "longpath")) {
    const std::wstring file = FileOf(m.module);
    std::printf("longpath: the module loaded as a file of %u characters\n", static_cast<unsigned>(file.size()));
    IClassFactory* factory = Factory(m, "longpath");
    ITwineKitStrings* o = nullptr;
    if (factory != nullptr) {
      factory->lpVtbl->CreateInstance(factory, nullptr, IID_ITwineKitStrings, reinterpret_cast<void**>(&o));
      factory->lpVtbl->Release(factory);
    }
    Expect(o != nullptr, "longpath: an object made");
    if (o != nullptr) {
      ITypeInfo* info = nullptr;
      const HRESULT hr = o->lpVtbl->GetTypeInfo(o, 0, 0, &info);
      Expect(hr == S_OK && info != nullptr, "longpath: the object describes its interface: " + Hex(hr));
      if (info != nullptr) info->lpVtbl->Release(info);
      o->lpVtbl->Release(o);
    }
    if (registration) {
      HRESULT hr = m.register_server();
      Expect(hr == S_OK, "longpath: registered from there: " + Hex(hr));
      const std::wstring server = ReadValue(HKEY_LOCAL_MACHINE, Classes(L"CLSID\\" TK_COM_CLSID L"\\InprocServer32"),
                                            nullptr);
      Expect(server == file, "longpath: the class names the module: " + Narrow(server.c_str()));
      // Told, not checked: Wine's COM finds no class whose server's path is
      // this long (0x80040154).
      ITwineKitStrings* made = nullptr;
      std::printf("longpath: the object made through that registration: %s\n", Hex(MakeObject(&made)).c_str());
      if (made != nullptr) made->lpVtbl->Release(made);
      hr = m.unregister_server();
      Expect(hr == S_OK, "longpath: unregistered: " + Hex(hr));
    }
    FreeLibrary(m.module);
  }
  DeleteFileW(copy.c_str());
  for (auto f = folders.rbegin(); f != folders.rend(); ++f) RemoveDirectoryW(f->c_str());
}

// --- early binding ----------------------------------------------------------

// The arguments of one case line as the interface takes them.
struct EarlyArguments {
  BSTR strings[4] = {};
  std::unique_ptr<tkhost::HostVariant> variants[4];
  const tkcases::Case& c;

  explicit EarlyArguments(const tkcases::Case& line) : c(line) {
    for (size_t i = 0; i < c.args.size(); ++i) {
      const tkhost::Value& v = c.args[i];
      if (v.tag == tkhost::Value::kBytes) strings[i] = Wide(v.bytes);
      if (c.info->args[i] == 'X') variants[i] = std::make_unique<tkhost::HostVariant>(v.variant);
    }
  }
  ~EarlyArguments() {
    for (BSTR s : strings) SysFreeString(s);
  }

  template <typename T>
  T Get(size_t i) {
    if constexpr (std::is_same_v<T, BSTR>) return strings[i];
    else if constexpr (std::is_same_v<T, BSTR*>) return &strings[i];
    else if constexpr (std::is_same_v<T, VARIANT>) return *variants[i]->get();
    else return static_cast<T>(c.args[i].number);
  }
};

void Read(BSTR r, tkcases::Outcome& seen) {
  seen.result_null = r == nullptr;
  seen.bytes = Bytes(r);
  SysFreeString(r);
}
void Read(SHORT r, tkcases::Outcome& seen) { seen.number = r; }
void Read(LONG r, tkcases::Outcome& seen) { seen.number = r; }
void Read(VARIANT r, tkcases::Outcome& seen) {
  seen.vt = r.vt;
  seen.number = r.vt == VT_I4 ? r.lVal : 0;
  VariantClear(&r);
}

template <typename Method>
struct Early;

template <typename... A>
struct Early<HRESULT(STDMETHODCALLTYPE*)(ITwineKitStrings*, A...)> {
  using Method = HRESULT(STDMETHODCALLTYPE*)(ITwineKitStrings*, A...);
  template <typename T>
  struct Pointee;
  template <typename T>
  struct Pointee<T*> {
    using type = T;
  };

  template <size_t... I>
  static HRESULT Call(Method m, ITwineKitStrings* o, EarlyArguments& args, tkcases::Outcome& seen,
                      std::index_sequence<I...>) {
    constexpr size_t n = sizeof...(I);
    if constexpr (n == sizeof...(A)) {  // no result
      return m(o, args.Get<std::tuple_element_t<I, std::tuple<A...>>>(I)...);
    } else {
      using Result = typename Pointee<std::tuple_element_t<n, std::tuple<A...>>>::type;
      Result r{};
      const HRESULT hr = m(o, args.Get<std::tuple_element_t<I, std::tuple<A...>>>(I)..., &r);
      if (hr == S_OK) Read(r, seen);
      return hr;
    }
  }
};

// Calls the method of line c's export with its arguments; what came back.
#define TK_EARLY_CALL(name, ordinal, kinds, result, params)                                \
  case ordinal: {                                                                          \
    using E = Early<decltype(ITwineKitStringsVtbl::name)>;                                 \
    hr = E::Call(o->lpVtbl->name, o, args, seen,                                           \
                 std::make_index_sequence<std::string_view(kinds).size()>{});              \
    break;                                                                                 \
  }

HRESULT CallEarly(ITwineKitStrings* o, const tkcases::Case& c, tkcases::Outcome& seen) {
  EarlyArguments args(c);
  HRESULT hr = E_NOTIMPL;
  switch (c.info->ordinal) { TK_EXPORT_TABLE(TK_EARLY_CALL) }
  if (c.after) seen.after = Bytes(args.strings[0]);
  return hr;
}
#undef TK_EARLY_CALL

// A line an early-bound caller can pass: no fixed clock, Integers of 16
// bits, strings that the code page keeps.
bool Passable(const tkcases::Case& c) {
  if (c.clock >= 0) return false;
  for (size_t i = 0; i < c.args.size(); ++i) {
    const tkhost::Value& v = c.args[i];
    if (c.info->args[i] == 'I' && (v.number < -32768 || v.number > 32767)) return false;
    if (v.tag == tkhost::Value::kBytes && !CodePageKeeps(v.bytes)) return false;
  }
  if (c.info->result == 'S' && !CodePageKeeps(c.want.bytes)) return false;
  return !c.after || CodePageKeeps(*c.after);
}

// Calls line c's export through IDispatch as VBScript does: a string
// variable by reference (a string by value as a value), numbers and
// Variants by value.
HRESULT CallLate(ITwineKitStrings* o, const tkcases::Case& c, tkcases::Outcome& seen) {
  EarlyArguments args(c);
  const size_t n = c.args.size();
  VARIANT slots[4];
  for (size_t i = 0; i < n; ++i) {
    VARIANT& v = slots[n - 1 - i];  // the last argument first
    VariantInit(&v);
    switch (c.info->args[i]) {
      case 'R':
      case 'W':
        v.vt = VT_BYREF | VT_BSTR;
        v.pbstrVal = &args.strings[i];
        break;
      case 'V':
        v.vt = VT_BSTR;
        v.bstrVal = args.strings[i];
        break;
      case 'L':
        v.vt = VT_I4;
        v.lVal = static_cast<LONG>(c.args[i].number);
        break;
      case 'I':
        v.vt = VT_I2;
        v.iVal = static_cast<SHORT>(c.args[i].number);
        break;
      default: v = *args.variants[i]->get(); break;
    }
  }
  DISPPARAMS params = {slots, nullptr, static_cast<UINT>(n), 0};
  VARIANT result;
  VariantInit(&result);
  HRESULT hr = o->lpVtbl->Invoke(o, c.info->ordinal, IID_NULL, 0, DISPATCH_METHOD, &params,
                                 &result, nullptr, nullptr);
  const VARTYPE want = c.info->result == 'S' ? VT_BSTR : c.info->result == 'I' ? VT_I2
                       : c.info->result == 'N' ? VT_EMPTY : VT_I4;
  if (hr == S_OK && result.vt != want) hr = E_UNEXPECTED;
  if (hr == S_OK && want == VT_BSTR) {
    Read(result.bstrVal, seen);
    result.vt = VT_EMPTY;
  }
  if (hr == S_OK && want == VT_I2) seen.number = result.iVal;
  if (hr == S_OK && want == VT_I4) Read(result, seen);  // the Variant of cRomanToArabic too
  VariantClear(&result);
  if (c.after) seen.after = Bytes(args.strings[0]);
  return hr;
}

// Every case line a caller can pass, early-bound or through IDispatch: each
// export at least once, and each call leaving no allocation behind.
void StepCases(ITwineKitStrings* o, bool late) {
  const std::string how = late ? "late" : "early";
  bool called[65] = {};
  int left_out = 0;
  for (const tkcases::CaseFile& file : tkcases::AllCases().files) {
    for (const tkcases::Case& c : file.cases) {
      if (!Passable(c)) {
        ++left_out;
        continue;
      }
      tkcases::Outcome seen;
      tkharness::AllocationWatch::Begin();
      const HRESULT hr = late ? CallLate(o, c, seen) : CallEarly(o, c, seen);
      const size_t leaked = tkharness::AllocationWatch::End().size();
      std::string problem = hr == S_OK ? tkcases::CheckOutcome(c, seen) : "failed: " + Hex(hr);
      if (leaked != 0 && tkharness::AllocationWatch::active()) {
        problem += " " + std::to_string(leaked) + " allocations left behind";
      }
      Expect(problem.empty(), how + " " + c.where + ": " + c.text + ": " + problem);
      called[c.info->ordinal] = true;
    }
  }
  int exports = 0;
  for (int i = 1; i <= 64; ++i) exports += called[i];
  Expect(exports == 64, how + ": " + std::to_string(exports) + " of the 64 methods called");
  std::printf("%s: %d case lines left out (a fixed clock, an Integer beyond 16 bits, bytes the code page does not keep)\n",
              how.c_str(), left_out);
}

// --- late binding: errors ---------------------------------------------------

// Calls name through IDispatch with args (first argument first); the
// result and the index of the argument that failed, in rgvarg's order.
HRESULT Late(ITwineKitStrings* o, const wchar_t* name, std::vector<VARIANT> args, VARIANT* result,
             UINT* bad = nullptr) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = o->lpVtbl->GetIDsOfNames(o, IID_NULL, names, 1, 0, &id);
  if (FAILED(hr)) return hr;
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  UINT arg_error = ~0u;
  VariantInit(result);
  hr = o->lpVtbl->Invoke(o, id, IID_NULL, 0, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &params, result,
                         nullptr, &arg_error);
  if (bad != nullptr) *bad = arg_error;
  return hr;
}

VARIANT Str(const wchar_t* s) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(s);
  return v;
}

VARIANT Num(VARTYPE vt, LONG n) {
  VARIANT v;
  VariantInit(&v);
  v.vt = vt;
  if (vt == VT_I2) v.iVal = static_cast<SHORT>(n);
  else v.lVal = n;
  return v;
}

// An argument left out, as VBScript passes o.cGetIn("a|b", , 2).
VARIANT Missing() {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_ERROR;
  v.scode = DISP_E_PARAMNOTFOUND;
  return v;
}

void Clear(std::vector<VARIANT>& args) {
  for (VARIANT& v : args) VariantClear(&v);
}

// --- late binding: the result is an out parameter ---------------------------

// An object that counts every call of its methods, at an address whose low
// 16 bits are VT_UNKNOWN: a word holding its address, read as a Variant's
// vt, says VT_UNKNOWN.  A result Variant holding it is garbage that Invoke
// must neither release nor read; a stack filled with its address holds,
// wherever a Variant may start, VT_UNKNOWN and the object, so that a
// Variant left uninitialised there and then cleared releases it.
LONG g_touches = 0;
HRESULT STDMETHODCALLTYPE TripwireQuery(IUnknown*, REFIID, void** out) {
  ++g_touches;
  *out = nullptr;
  return E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE TripwireAddRef(IUnknown*) { return static_cast<ULONG>(++g_touches); }
ULONG STDMETHODCALLTYPE TripwireRelease(IUnknown*) { return static_cast<ULONG>(++g_touches); }
IUnknownVtbl kTripwireMethods = {TripwireQuery, TripwireAddRef, TripwireRelease};

IUnknown* Tripwire() {
  // VirtualAlloc gives blocks at multiples of 64 KiB.
  static char* const block =
      static_cast<char*>(VirtualAlloc(nullptr, 0x20000, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  char* const at = block + 0x10000 + VT_UNKNOWN;
  const IUnknownVtbl* methods = &kTripwireMethods;
  std::memcpy(at, &methods, sizeof methods);
  return reinterpret_cast<IUnknown*>(at);
}

// Fills the stack that the next call will use with the tripwire's address.
__attribute__((noinline)) void PaintStack() {
  volatile uintptr_t words[4096];
  const uintptr_t wire = reinterpret_cast<uintptr_t>(Tripwire());
  for (volatile uintptr_t& w : words) w = wire;
}

VARIANT Garbage() {
  VARIANT v;
  std::memset(&v, 0x5A, sizeof v);  // every byte set, to compare them all
  v.vt = VT_UNKNOWN;
  v.punkVal = Tripwire();
  return v;
}

// A call writes its result over whatever pVarResult held, without clearing
// it first; a failed call leaves it, and the caller's String variable passed
// by reference, exactly as they were, and clears no Variant of its own that
// it did not set.
void StepOutParameters(ITwineKitStrings* o) {
  g_touches = 0;
  // Invoke itself: Late would initialise the result first.
  std::vector<VARIANT> args = {Str(L"a|b|c"), Str(L"|"), Num(VT_I4, 2)};
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params = {reversed.data(), nullptr, 3, 0};
  VARIANT result = Garbage();
  HRESULT hr = o->lpVtbl->Invoke(o, 30, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
  Expect(hr == S_OK && result.vt == VT_BSTR && lstrcmpW(result.bstrVal, L"b") == 0 && g_touches == 0,
         "out: a result over garbage: " + Hex(hr) + ", the garbage touched " + std::to_string(g_touches) + " times");
  if (result.vt == VT_BSTR) VariantClear(&result);
  Clear(args);

  struct Failing {
    const char* what;
    DISPID member;
    std::vector<VARIANT> rest;  // the arguments after the String variable
  };
  SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, 1);
  VARIANT array_arg;
  VariantInit(&array_arg);
  array_arg.vt = VT_ARRAY | VT_VARIANT;
  array_arg.parray = array;
  Failing rows[] = {
      {"an array for a string", 8, {Str(L"x"), array_arg}},
      {"letters for a Long", 44, {Str(L"two")}},
      {"an Integer of 40000", 50, {Str(L""), Num(VT_I4, 40000)}},
      {"a missing argument", 8, {Missing(), Str(L"y")}},
      {"too few arguments", 8, {Str(L"x")}},
      {"too many arguments", 56, {Str(L"x")}},
  };
  for (Failing& row : rows) {
    BSTR variable = SysAllocString(L"keep");
    const BSTR held = variable;
    std::vector<VARIANT> call = {VARIANT{}};
    call[0].vt = VT_BYREF | VT_BSTR;
    call[0].pbstrVal = &variable;
    call.insert(call.end(), row.rest.begin(), row.rest.end());
    std::vector<VARIANT> rgvarg(call.rbegin(), call.rend());
    const std::vector<VARIANT> rgvarg_before = rgvarg;
    DISPPARAMS failing = {rgvarg.data(), nullptr, static_cast<UINT>(rgvarg.size()), 0};
    result = Garbage();
    const VARIANT result_before = result;
    g_touches = 0;
    PaintStack();
    hr = o->lpVtbl->Invoke(o, row.member, IID_NULL, 0, DISPATCH_METHOD, &failing, &result, nullptr, nullptr);
    const bool result_kept = std::memcmp(&result, &result_before, sizeof result) == 0;
    const bool arguments_kept =
        std::memcmp(rgvarg.data(), rgvarg_before.data(), rgvarg.size() * sizeof(VARIANT)) == 0;
    const bool variable_kept = variable == held && lstrcmpW(variable, L"keep") == 0;
    Expect(FAILED(hr) && result_kept && arguments_kept && variable_kept && g_touches == 0,
           std::string("out: ") + row.what + ": " + Hex(hr) + (result_kept ? "" : ", the result changed") +
               (arguments_kept ? "" : ", the arguments changed") + (variable_kept ? "" : ", the variable changed") +
               ", the garbage touched " + std::to_string(g_touches) + " times");
    SysFreeString(variable);
    Clear(row.rest);
  }
}

void StepErrors(ITwineKitStrings* o) {
  struct Row {
    const char* what;
    const wchar_t* name;
    std::vector<VARIANT> args;
    HRESULT want;
    UINT bad;  // rgvarg index of the bad argument, or ~0u
  };
  SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, 2);
  VARIANT array_arg;
  VariantInit(&array_arg);
  array_arg.vt = VT_ARRAY | VT_VARIANT;
  array_arg.parray = array;
  VARIANT object_arg;
  VariantInit(&object_arg);
  object_arg.vt = VT_DISPATCH;
  object_arg.pdispVal = reinterpret_cast<IDispatch*>(o);
  o->lpVtbl->AddRef(o);
  Row rows[] = {
      {"too few arguments", L"cGetIn", {Str(L"a|b"), Str(L"|")}, DISP_E_BADPARAMCOUNT, ~0u},
      {"too many arguments", L"cReverse", {Str(L"ab"), Str(L"cd")}, DISP_E_BADPARAMCOUNT, ~0u},
      {"an array for a string", L"cGetIn", {array_arg, Str(L"|"), Num(VT_I4, 1)}, DISP_E_TYPEMISMATCH, 2},
      {"an object for a string", L"cReverse", {object_arg}, DISP_E_TYPEMISMATCH, 0},
      {"letters for a Long", L"cGetIn", {Str(L"a|b"), Str(L"|"), Str(L"two")}, DISP_E_TYPEMISMATCH, 0},
      {"Null for a string", L"cReverse", {Num(VT_NULL, 0)}, DISP_E_TYPEMISMATCH, 0},
      {"an Integer of 40000", L"cAlign", {Str(L"ab"), Num(VT_I4, 40000), Num(VT_I4, 5)}, DISP_E_OVERFLOW, 1},
      {"an Integer of -32769", L"cStringSAR",
       {Str(L"ab"), Str(L"a"), Str(L"b"), Num(VT_I4, -32769)}, DISP_E_OVERFLOW, 0},
      {"an Integer of \"40000\"", L"cProperName2", {Str(L"ab"), Str(L""), Str(L"40000")}, DISP_E_OVERFLOW, 0},
      {"a missing argument", L"cGetIn", {Str(L"a|b"), Missing(), Num(VT_I4, 2)}, DISP_E_PARAMNOTOPTIONAL, 1},
  };
  for (Row& row : rows) {
    VARIANT result;
    UINT bad = ~0u;
    tkharness::AllocationWatch::Begin();
    const HRESULT hr = Late(o, row.name, row.args, &result, &bad);
    VariantClear(&result);
    const size_t leaked = tkharness::AllocationWatch::End().size();
    Expect(hr == row.want && (row.bad == ~0u || bad == row.bad),
           std::string("errors: ") + row.what + ": " + Hex(hr) + " at argument " + std::to_string(bad) +
               ", want " + Hex(row.want) + " at " + std::to_string(row.bad));
    Expect(leaked == 0 || !tkharness::AllocationWatch::active(),
           std::string("errors: ") + row.what + ": " + std::to_string(leaked) + " allocations left behind");
    Clear(row.args);
  }
  ExpectWorks(o, "after the errors");

  // Arguments as scripts pass them: numbers as Double, Currency, Boolean or
  // digits; a String variable by reference, written back by cFill.
  VARIANT result;
  BSTR variable = SysAllocString(L"HELLO");
  VARIANT by_reference;
  VariantInit(&by_reference);
  by_reference.vt = VT_BYREF | VT_BSTR;
  by_reference.pbstrVal = &variable;
  HRESULT hr = Late(o, L"cfill", {by_reference, Str(L"ab")}, &result);
  Expect(hr == S_OK && result.vt == VT_I2 && result.iVal == -1 && lstrcmpW(variable, L"ababa") == 0,
         "late: cFill writes back into a String by reference: " + Narrow(variable));
  SysFreeString(variable);
  VARIANT digits = Str(L"2");
  hr = Late(o, L"CGETIN", {Str(L"a|b|c"), Str(L"|"), digits}, &result);
  Expect(hr == S_OK && result.vt == VT_BSTR && lstrcmpW(result.bstrVal, L"b") == 0,
         "late: a Long from the String \"2\", the name in capitals");
  VariantClear(&result);
  VariantClear(&digits);
  VARIANT real = Num(VT_R8, 0);
  real.dblVal = 2.5;  // to the even number, as Basic rounds
  hr = Late(o, L"cGetIn", {Str(L"a|b|c"), Str(L"|"), real}, &result);
  Expect(hr == S_OK && result.vt == VT_BSTR && lstrcmpW(result.bstrVal, L"b") == 0,
         "late: a Long from the Double 2.5");
  VariantClear(&result);

  // Named arguments, by the names of the type library.
  DISPID ids[3] = {};
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"cGetIn"), const_cast<LPOLESTR>(L"index"),
                      const_cast<LPOLESTR>(L"Sep")};
  hr = o->lpVtbl->GetIDsOfNames(o, IID_NULL, names, 3, 0, ids);
  Expect(hr == S_OK && ids[0] == 30 && ids[1] == 2 && ids[2] == 1, "late: the DISPIDs of cGetIn, Index and Sep");
  VARIANT named[3] = {Num(VT_I4, 3), Str(L"|"), Str(L"a|b|c")};
  DISPID named_ids[2] = {2, 1};
  DISPPARAMS params = {named, named_ids, 3, 2};
  VariantInit(&result);
  hr = o->lpVtbl->Invoke(o, 30, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
  Expect(hr == S_OK && result.vt == VT_BSTR && lstrcmpW(result.bstrVal, L"c") == 0,
         "late: cGetIn with Index and Sep named");
  VariantClear(&result);
  for (VARIANT& v : named) VariantClear(&v);
  LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"cNoSuchThing")};
  hr = o->lpVtbl->GetIDsOfNames(o, IID_NULL, unknown, 1, 0, ids);
  Expect(hr == DISP_E_UNKNOWNNAME, "late: an unknown name: " + Hex(hr));
  StepOutParameters(o);
}

void StepNames(ITwineKitStrings* o) {
  ITypeInfo* info = nullptr;
  HRESULT hr = o->lpVtbl->GetTypeInfo(o, 0, 0, &info);
  Expect(hr == S_OK && info != nullptr, "names: the object describes its interface: " + Hex(hr));
  if (info == nullptr) return;
  for (size_t i = 0; i < twinekit::kExports.size(); ++i) {
    const twinekit::ExportInfo& e = twinekit::kExports[i];
    BSTR names[8] = {};
    UINT count = 0;
    hr = info->lpVtbl->GetNames(info, e.ordinal, names, 8, &count);
    std::string got;
    for (UINT k = 0; k < count; ++k) {
      got += (k ? " " : "") + Narrow(names[k]);
      SysFreeString(names[k]);
    }
    // The interface's description as IDispatch gives it names no result.
    const std::string want = std::string(e.name) + " " + std::string(e.params);
    Expect(hr == S_OK && got == want, "names: " + got + ", want " + want);
  }
  info->lpVtbl->Release(info);
}

// --- text that the code page lacks --------------------------------------------

// cChangeChars on a String variable by reference, through IDispatch or the
// interface; its result, and the variable afterwards.
std::pair<LONG, std::wstring> ChangeChars(ITwineKitStrings* o, bool late, const wchar_t* text,
                                          const wchar_t* old_chars, const wchar_t* new_chars) {
  BSTR variable = SysAllocString(text), from = SysAllocString(old_chars), to = SysAllocString(new_chars);
  LONG changed = 1;
  if (late) {
    VARIANT args[3];  // the last argument first
    args[0] = Str(new_chars);
    args[1] = Str(old_chars);
    VariantInit(&args[2]);
    args[2].vt = VT_BYREF | VT_BSTR;
    args[2].pbstrVal = &variable;
    DISPPARAMS params = {args, nullptr, 3, 0};
    VARIANT result;
    VariantInit(&result);
    if (o->lpVtbl->Invoke(o, 8, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr) == S_OK &&
        result.vt == VT_I2) {
      changed = result.iVal;
    }
    VariantClear(&args[0]);
    VariantClear(&args[1]);
  } else {
    SHORT result = 1;
    if (o->lpVtbl->cChangeChars(o, &variable, from, to, &result) == S_OK) changed = result;
  }
  std::pair<LONG, std::wstring> out(changed, variable != nullptr ? variable : L"(null)");
  SysFreeString(variable);
  SysFreeString(from);
  SysFreeString(to);
  return out;
}

// Code page 1252 lacks U+03A9 (capital omega) and the full-width digits
// U+FF11..U+FF13: each reaches the library as "?", never as a look-alike
// that the code page has ("1"); and a variable whose bytes the call did not
// change keeps its text, where a write-back would make it "?mega".
void StepText(ITwineKitStrings* o) {
  if (GetACP() != 1252) {
    std::printf("text: not run: the ANSI code page is %u, not 1252\n", GetACP());
    return;
  }
  const struct {
    const wchar_t *text, *old_chars, *new_chars, *after;
  } changes[] = {
      {L"\x03A9mega", L"x", L"y", L"\x03A9mega"},  // no byte changed: no write-back
      {L"\x03A9mexa", L"x", L"g", L"?mega"},       // a byte changed: the round trip
  };
  for (bool late : {false, true}) {
    const std::string how = late ? "text (IDispatch): " : "text (interface): ";
    for (const auto& c : changes) {
      const auto [changed, after] = ChangeChars(o, late, c.text, c.old_chars, c.new_chars);
      Expect(changed == -1 && after == c.after,
             how + "cChangeChars " + Escaped(c.text) + " gives " + std::to_string(changed) + ", the variable " +
                 Escaped(after.c_str()) + ", want " + Escaped(c.after));
    }
    BSTR digits = SysAllocString(L"\xFF11\xFF12\xFF13");
    LONG numeric = 1;
    if (late) {
      VARIANT result;
      if (Late(o, L"cCheckNumericity", {Str(digits)}, &result) == S_OK && result.vt == VT_I2) numeric = result.iVal;
      VariantClear(&result);
    } else {
      SHORT result = 1;
      if (o->lpVtbl->cCheckNumericity(o, digits, &result) == S_OK) numeric = result;
    }
    Expect(numeric == 0, how + "full-width digits are no digits: cCheckNumericity gives " + std::to_string(numeric));
    BSTR reversed = nullptr;
    const HRESULT hr = o->lpVtbl->cReverse(o, digits, &reversed);
    Expect(hr == S_OK && reversed != nullptr && lstrcmpW(reversed, L"???") == 0,
           how + "full-width digits reach the library as \"???\": " + Escaped(reversed));
    SysFreeString(reversed);
    SysFreeString(digits);
  }
}

// --- apartments and threads ----------------------------------------------------

// A few calls whose results a proxy must carry: a string result, an in-place
// string written back through [in, out], and IDispatch with a String
// variable by reference.
void ExpectCalls(ITwineKitStrings* o, const std::string& how) {
  ExpectWorks(o, how);
  BSTR text = SysAllocString(L"HELLO"), fill = SysAllocString(L"ab");
  SHORT filled = 0;
  HRESULT hr = o->lpVtbl->cFill(o, &text, fill, &filled);
  Expect(hr == S_OK && filled == -1 && text != nullptr && lstrcmpW(text, L"ababa") == 0,
         how + ": cFill writes back through the interface: " + Hex(hr) + " " + Narrow(text));
  SysFreeString(fill);
  const auto [changed, after] = ChangeChars(o, true, L"abcabc", L"ab", L"bc");
  Expect(changed == -1 && after == L"cccccc", how + ": cChangeChars through IDispatch: " + Narrow(after.c_str()));
  VARIANT result;
  VARIANT by_reference;
  VariantInit(&by_reference);
  by_reference.vt = VT_BYREF | VT_BSTR;
  by_reference.pbstrVal = &text;
  hr = Late(o, L"cReverse", {by_reference}, &result);
  Expect(hr == S_OK && result.vt == VT_BSTR && lstrcmpW(result.bstrVal, L"ababa") == 0 &&
             lstrcmpW(text, L"ababa") == 0,
         how + ": cReverse through IDispatch: " + Hex(hr));
  VariantClear(&result);
  SysFreeString(text);
}

// A single-threaded apartment that makes the object, hands it over in a
// stream, and serves the calls that reach it until told to end.
struct Apartment {
  HANDLE ready, done;
  HRESULT made;
  IStream* stream;
  const void* object;
};

DWORD WINAPI RunApartment(void* parameter) {
  Apartment& a = *static_cast<Apartment*>(parameter);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ITwineKitStrings* o = nullptr;
  a.made = MakeObject(&o);
  if (o != nullptr) {
    a.object = o;
    a.made = CoMarshalInterThreadInterfaceInStream(IID_ITwineKitStrings, reinterpret_cast<IUnknown*>(o),
                                                   &a.stream);
  }
  SetEvent(a.ready);
  DWORD signalled = 0;  // the wait of a single-threaded apartment serves its calls meanwhile
  CoWaitForMultipleHandles(0, INFINITE, 1, &a.done, &signalled);
  if (o != nullptr) o->lpVtbl->Release(o);
  CoUninitialize();
  return 0;
}

// The object made in a single-threaded apartment and called from this
// multithreaded one: the class is registered as "Both", so it lives where
// it was made, and this apartment gets a proxy of the type library's
// marshaller.
void StepProxy() {
  Apartment a = {CreateEventW(nullptr, TRUE, FALSE, nullptr), CreateEventW(nullptr, TRUE, FALSE, nullptr),
                 E_FAIL, nullptr, nullptr};
  HANDLE thread = CreateThread(nullptr, 0, RunApartment, &a, 0, nullptr);
  Expect(thread != nullptr && WaitForSingleObject(a.ready, 60000) == WAIT_OBJECT_0,
         "threads: the single-threaded apartment starts");
  Expect(a.made == S_OK, "threads: the object made and marshalled in that apartment: " + Hex(a.made));
  ITwineKitStrings* proxy = nullptr;
  if (a.stream != nullptr) {
    const HRESULT hr =
        CoGetInterfaceAndReleaseStream(a.stream, IID_ITwineKitStrings, reinterpret_cast<void**>(&proxy));
    Expect(hr == S_OK && proxy != nullptr && proxy != a.object,
           "threads: this apartment gets a proxy of the object: " + Hex(hr));
  }
  if (proxy != nullptr) {
    ExpectCalls(proxy, "threads: through the proxy");
    proxy->lpVtbl->Release(proxy);
  }
  SetEvent(a.done);
  if (thread != nullptr) {
    Expect(WaitForSingleObject(thread, 60000) == WAIT_OBJECT_0, "threads: the apartment ends");
    CloseHandle(thread);
  }
  CloseHandle(a.ready);
  CloseHandle(a.done);
}

// One of two threads of the multithreaded apartment calling one object at
// once, each with its own texts; the calls whose results were wrong.
struct Caller {
  ITwineKitStrings* o;
  HANDLE start;
  int id, wrong;
};
constexpr int kRounds = 1500;

DWORD WINAPI RunCaller(void* parameter) {
  Caller& c = *static_cast<Caller*>(parameter);
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  WaitForSingleObject(c.start, 60000);
  for (int i = 0; i < kRounds; ++i) {
    const std::wstring field = L"t" + std::to_wstring(c.id) + L"r" + std::to_wstring(i);
    const std::wstring line = L"x|" + field + L"|y", reversed(line.rbegin(), line.rend()),
                       filled(line.size(), L'|');
    BSTR text = SysAllocString(line.c_str()), sep = SysAllocString(L"|"), got = nullptr;
    if (c.o->lpVtbl->cGetIn(c.o, text, sep, 2, &got) != S_OK || got == nullptr || field != got) ++c.wrong;
    SysFreeString(got);
    got = nullptr;
    if (c.o->lpVtbl->cReverse(c.o, text, &got) != S_OK || got == nullptr || reversed != got) ++c.wrong;
    SysFreeString(got);
    SHORT done = 0;
    if (c.o->lpVtbl->cFill(c.o, &text, sep, &done) != S_OK || done != -1 || text == nullptr || filled != text) {
      ++c.wrong;
    }
    SysFreeString(text);
    SysFreeString(sep);
  }
  CoUninitialize();
  return 0;
}

void StepConcurrent(ITwineKitStrings* o) {
  HANDLE start = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  Caller callers[2] = {{o, start, 1, 0}, {o, start, 2, 0}};
  HANDLE threads[2] = {};
  for (int k = 0; k < 2; ++k) threads[k] = CreateThread(nullptr, 0, RunCaller, &callers[k], 0, nullptr);
  SetEvent(start);
  for (HANDLE t : threads) {
    Expect(t != nullptr && WaitForSingleObject(t, 600000) == WAIT_OBJECT_0, "threads: a calling thread ends");
    if (t != nullptr) CloseHandle(t);
  }
  CloseHandle(start);
  for (const Caller& c : callers) {
    Expect(c.wrong == 0, "threads: thread " + std::to_string(c.id) + ": " + std::to_string(c.wrong) + " of " +
                             std::to_string(3 * kRounds) + " calls wrong while another thread called too");
  }
  ExpectWorks(o, "threads: after two threads at once");
}


}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: com_client LABEL STEP...\n");
    return 2;
  }
  const char* label = argv[1];
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  const std::string watch = tkharness::AllocationWatch::Install();
  if (!watch.empty()) std::printf("%s: allocations not counted: %s\n", label, watch.c_str());
  for (int i = 2; i < argc; ++i) {
    const std::string step = argv[i];
    const std::wstring operand = i + 1 < argc ? std::wstring(argv[i + 1], argv[i + 1] + strlen(argv[i + 1]))
                                              : std::wstring();
    if (step == "none") {
      StepNone();
    } else if (step == "machine" || step.starts_with("user") || step.starts_with("alone")) {
      // user32, alone64...: the registration of that width, in its view
      const View view = step.ends_with("32") ? View{32} : step.ends_with("64") ? View{64} : kOwnView;
      const bool user = step.starts_with("user");
      wchar_t full[MAX_PATH];  // as the loader names the module
      GetFullPathNameW(operand.c_str(), MAX_PATH, full, nullptr);
      if (step.starts_with("alone")) {
        StepAlone(view, full);
      } else {
        StepRegistered(user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE,
                       user ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, full, step, view);
      }
      ++i;
    } else if (step == "purge" || step == "gone") {
      if (step == "purge") StepPurge();
      else StepGone();
    } else if (step == "factory" || step == "longpath" || step == "longpathreg") {
      wchar_t full[MAX_PATH];
      GetFullPathNameW(operand.c_str(), MAX_PATH, full, nullptr);
      if (step == "factory") StepFactory(full);
      else StepLongPath(full, step == "longpathreg");
      ++i;
    } else if (step == "regfree") {
      StepRegFree(operand);
      ++i;
    } else {
      ITwineKitStrings* o = nullptr;
      const HRESULT hr = MakeObject(&o);
      Expect(hr == S_OK, step + ": the object made by ProgID: " + Hex(hr));
      if (o == nullptr) continue;
      if (step == "early" || step == "late") StepCases(o, step == "late");
      else if (step == "errors") StepErrors(o);
      else if (step == "names") StepNames(o);
      else if (step == "text") StepText(o);
      else if (step == "apartments") StepProxy();
      else if (step == "threads") StepConcurrent(o);
      else Expect(false, "no step named " + step);
      o->lpVtbl->Release(o);
    }
  }
  CoUninitialize();
  std::printf("%s: %d passed, %d failed\n", label, passed, failed);
  return failed == 0 ? 0 : 1;
}
