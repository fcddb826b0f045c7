#include "com/ansi_strings.h"

#include <climits>

namespace twinekit::com {

HRESULT AnsiFromWide(BSTR wide, BSTR* bytes) {
  *bytes = nullptr;
  const UINT length = SysStringLen(wide);
  if (length == 0) return S_OK;
  if (length > INT_MAX) return E_OUTOFMEMORY;
  const int n = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(length), nullptr, 0,
                                    nullptr, nullptr);
  if (n <= 0) return E_OUTOFMEMORY;
  BSTR out = SysAllocStringByteLen(nullptr, static_cast<UINT>(n));
  if (out == nullptr) return E_OUTOFMEMORY;
  WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(length), reinterpret_cast<char*>(out), n,
                      nullptr, nullptr);
  *bytes = out;
  return S_OK;
}

HRESULT WideFromAnsi(BSTR bytes, BSTR* wide) {
  const UINT length = SysStringByteLen(bytes);
  if (length > INT_MAX) return E_OUTOFMEMORY;
  const char* source = reinterpret_cast<const char*>(bytes);
  const int n = length == 0 ? 0
                            : MultiByteToWideChar(CP_ACP, 0, source, static_cast<int>(length),
                                                  nullptr, 0);
  if (length != 0 && n <= 0) return E_OUTOFMEMORY;
  BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(n));
  if (out == nullptr) return E_OUTOFMEMORY;
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, source, static_cast<int>(length), out, n);
  *wide = out;
  return S_OK;
}

}  // namespace twinekit::com
