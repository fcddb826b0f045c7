// What registering and unregistering the class TwineKit.Strings writes and
// deletes, for a module of one width.  The registry is seen through
// Registry: a few calls on keys named under one classes root
// (HKLM\Software\Classes, or HKCU\Software\Classes for a user) in one of
// its two views, so that these decisions run natively against a registry
// held in memory (tests/unit/com_registration_test.cpp) as well as on the
// system's (system_registry.cpp).
//
// A 64-bit system shows 32-bit programs a view of their own for some keys
// of the classes root (CLSID, Interface: Wow6432Node) and shares the rest
// (the ProgIDs, TypeLib).  Each module's class key is therefore its own,
// in its width's view; the ProgIDs and the type library are the two
// widths' in common, with a file for each width under TypeLib (win32,
// win64).  Which keys the views share depends on the system (Interface;
// CLSID too in the user's classes under Wine), so the plan asks the
// registry rather than assuming.
#pragma once

#include <cstdint>

#include "frame/platform.h"

namespace twinekit::com {

// The view of the registry that 32-bit and 64-bit programs see.
enum class View : uint8_t { k32, k64 };

// The registry's status codes: those of the Win32 registry functions.
inline constexpr int32_t kRegOk = 0;
inline constexpr int32_t kRegNotFound = 2;      // ERROR_FILE_NOT_FOUND
inline constexpr int32_t kRegAccessDenied = 5;  // ERROR_ACCESS_DENIED
inline constexpr int32_t kRegNoMemory = 14;     // ERROR_OUTOFMEMORY
inline constexpr uint32_t kRegText = 1;         // REG_SZ

// A status as an HRESULT, as HRESULT_FROM_WIN32 makes it.
constexpr HRESULT HResultOfStatus(int32_t status) {
  if (status == kRegOk) return S_OK;
  return static_cast<HRESULT>((static_cast<uint32_t>(status) & 0xFFFFu) | 0x80070000u);
}

// A value as read: its type and bytes, data from std::malloc, which the
// reader frees (the module's C runtime and the native tests' alike).
struct RegValue {
  uint32_t type = 0;
  uint8_t* data = nullptr;
  uint32_t size = 0;
};

// Keys are named under the classes root, "CLSID\{...}\InprocServer32"; a
// null value name is the key's default value.  Every call returns a status.
class Registry {
 public:
  // Whether the system has the view: a 32-bit system has no 64-bit one.
  virtual bool HasView(View view) = 0;
  // kRegOk when the key exists, kRegNotFound when it does not.
  virtual int32_t FindKey(View view, const wchar_t* key) = 0;
  // Creates the key, and the keys above it that are missing.
  virtual int32_t CreateKey(View view, const wchar_t* key) = 0;
  virtual int32_t ReadValue(View view, const wchar_t* key, const wchar_t* name,
                            RegValue* value) = 0;
  virtual int32_t SetValue(View view, const wchar_t* key, const wchar_t* name, uint32_t type,
                           const uint8_t* data, uint32_t size) = 0;
  virtual int32_t DeleteValue(View view, const wchar_t* key, const wchar_t* name) = 0;
  // Deletes the key with everything under it; kRegNotFound when it was
  // not there.
  virtual int32_t DeleteTree(View view, const wchar_t* key) = 0;

 protected:
  ~Registry() = default;
};

// Registers the class for the module at module_path, of the width whose
// view is own.  On a failure it takes back what it wrote (the keys it
// made, the values it added or changed) and returns the failure's cause,
// so that a registration that was there before is left as it was.
HRESULT RegisterStringsClass(Registry& registry, View own, const wchar_t* module_path);

// Unregisters the class of the width whose view is own: its type library
// file, and what of the class is in its own view alone (its class key,
// where the views keep CLSID apart).  While the other width's module is
// registered, what the two share stays; once it is not, every key of the
// class goes from both views.  A key already absent is no failure; any
// other failed deletion is reported after the rest is done.
HRESULT UnregisterStringsClass(Registry& registry, View own);

}  // namespace twinekit::com
