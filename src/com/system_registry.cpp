// The registration's registry on Windows.  Every key is opened by its full
// name from the root with the view's flag (KEY_WOW64_32KEY or
// KEY_WOW64_64KEY), so that the view is the one asked for whatever the
// width of the process.
#include "com/system_registry.h"

#include <cstdlib>
#include <cwchar>
#include <iterator>

namespace twinekit::com {
namespace {

constexpr wchar_t kClasses[] = L"Software\\Classes\\";
// The keys of the class are short; a name that does not fit is refused.
constexpr size_t kNameCapacity = 256;

REGSAM FlagOf(View view) { return view == View::k32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }

// key under Software\Classes; false when it does not fit.
bool FullName(const wchar_t* key, wchar_t (&name)[kNameCapacity]) {
  const size_t prefix = std::size(kClasses) - 1;
  const size_t length = std::wcslen(key);
  if (prefix + length >= kNameCapacity) return false;
  std::wmemcpy(name, kClasses, prefix);
  std::wmemcpy(name + prefix, key, length + 1);
  return true;
}

}  // namespace

bool SystemRegistry::HasView(View view) {
  if (view == kOwnView || kOwnView == View::k64) return true;
  // A 32-bit module sees a 64-bit view only on a 64-bit system.
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

int32_t SystemRegistry::Open(View view, const wchar_t* key, REGSAM access, HKEY* opened) {
  wchar_t name[kNameCapacity];
  if (!FullName(key, name)) return ERROR_FILENAME_EXCED_RANGE;
  return RegOpenKeyExW(root_, name, 0, access | FlagOf(view), opened);
}

int32_t SystemRegistry::FindKey(View view, const wchar_t* key) {
  HKEY k = nullptr;
  const int32_t status = Open(view, key, KEY_QUERY_VALUE, &k);
  if (status == ERROR_SUCCESS) RegCloseKey(k);
  return status;
}

int32_t SystemRegistry::CreateKey(View view, const wchar_t* key) {
  wchar_t name[kNameCapacity];
  if (!FullName(key, name)) return ERROR_FILENAME_EXCED_RANGE;
  HKEY k = nullptr;
  const int32_t status = RegCreateKeyExW(root_, name, 0, nullptr, 0, KEY_WRITE | FlagOf(view),
                                         nullptr, &k, nullptr);
  if (status == ERROR_SUCCESS) RegCloseKey(k);
  return status;
}

int32_t SystemRegistry::ReadValue(View view, const wchar_t* key, const wchar_t* name,
                                  RegValue* value) {
  *value = {};
  HKEY k = nullptr;
  int32_t status = Open(view, key, KEY_QUERY_VALUE, &k);
  if (status != ERROR_SUCCESS) return status;
  // The size asked first; a value that grows in between is asked again.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0, size = 0;
    status = RegQueryValueExW(k, name, nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) break;
    std::free(value->data);
    value->data = static_cast<uint8_t*>(std::malloc(size == 0 ? 1 : size));
    if (value->data == nullptr) {
      status = ERROR_OUTOFMEMORY;
      break;
    }
    status = RegQueryValueExW(k, name, nullptr, &type, value->data, &size);
    value->type = type;
    value->size = size;
    if (status != ERROR_MORE_DATA) break;
  }
  RegCloseKey(k);
  if (status != ERROR_SUCCESS) {
    std::free(value->data);
    *value = {};
  }
  return status;
}

int32_t SystemRegistry::SetValue(View view, const wchar_t* key, const wchar_t* name,
                                 uint32_t type, const uint8_t* data, uint32_t size) {
  HKEY k = nullptr;
  int32_t status = Open(view, key, KEY_SET_VALUE, &k);
  if (status != ERROR_SUCCESS) return status;
  status = RegSetValueExW(k, name, 0, type, data, size);
  RegCloseKey(k);
  return status;
}

int32_t SystemRegistry::DeleteValue(View view, const wchar_t* key, const wchar_t* name) {
  HKEY k = nullptr;
  int32_t status = Open(view, key, KEY_SET_VALUE, &k);
  if (status != ERROR_SUCCESS) return status;
  status = RegDeleteValueW(k, name);
  RegCloseKey(k);
  return status;
}

// What is under the key first (RegDeleteTreeW on the key opened in the
// view), then the key itself (RegDeleteKeyExW, which takes the view).
int32_t SystemRegistry::DeleteTree(View view, const wchar_t* key) {
  HKEY k = nullptr;
  int32_t status =
      Open(view, key, DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE, &k);
  if (status != ERROR_SUCCESS) return status;
  status = RegDeleteTreeW(k, nullptr);
  RegCloseKey(k);
  if (status != ERROR_SUCCESS) return status;
  wchar_t name[kNameCapacity];
  FullName(key, name);
  return RegDeleteKeyExW(root_, name, FlagOf(view), 0);
}

}  // namespace twinekit::com
