// The registry of the system, as the registration sees it
// (com/registration_plan.h): keys under one root's Software\Classes, in
// the view of 32-bit or of 64-bit programs, through the Reg* functions.
#pragma once

#include <windows.h>

#include "com/registration_plan.h"

namespace twinekit::com {

// The view of the programs of this module's width.
#ifdef _WIN64
inline constexpr View kOwnView = View::k64;
#else
inline constexpr View kOwnView = View::k32;
#endif

class SystemRegistry final : public Registry {
 public:
  // root is HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER.
  explicit SystemRegistry(HKEY root) : root_(root) {}

  bool HasView(View view) override;
  int32_t FindKey(View view, const wchar_t* key) override;
  int32_t CreateKey(View view, const wchar_t* key) override;
  int32_t ReadValue(View view, const wchar_t* key, const wchar_t* name, RegValue* value) override;
  int32_t SetValue(View view, const wchar_t* key, const wchar_t* name, uint32_t type,
                   const uint8_t* data, uint32_t size) override;
  int32_t DeleteValue(View view, const wchar_t* key, const wchar_t* name) override;
  int32_t DeleteTree(View view, const wchar_t* key) override;

 private:
  int32_t Open(View view, const wchar_t* key, REGSAM access, HKEY* opened);

  HKEY root_;
};

}  // namespace twinekit::com
