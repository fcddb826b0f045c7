#include "com/ansi_strings.h"

#include <climits>
#include <cstdint>

namespace twinekit::com {
namespace {

#ifdef _WIN32
// Best fit is off, except where the code page is UTF-8 (or UTF-7), which
// takes no flags and has every character anyway.
DWORD NoBestFit() {
  const UINT page = GetACP();
  return page == CP_UTF8 || page == CP_UTF7 ? 0 : WC_NO_BEST_FIT_CHARS;
}

// The bytes of n UTF-16 units; the count when out is null.
int ToAnsi(const OLECHAR* wide, int n, char* out, int room) {
  return WideCharToMultiByte(CP_ACP, NoBestFit(), wide, n, out, room, nullptr, nullptr);
}

int ToWide(const char* bytes, int n, OLECHAR* out, int room) {
  return MultiByteToWideChar(CP_ACP, 0, bytes, n, out, room);
}
#else
// Latin-1: a unit above 0xFF becomes '?', a surrogate pair one '?'.
bool SecondOfPair(const OLECHAR* wide, int i) {
  return i > 0 && (wide[i] & 0xFC00) == 0xDC00 && (wide[i - 1] & 0xFC00) == 0xD800;
}

int ToAnsi(const OLECHAR* wide, int n, char* out, int /*room*/) {
  int made = 0;
  for (int i = 0; i < n; ++i) {
    if (SecondOfPair(wide, i)) continue;
    if (out != nullptr) out[made] = wide[i] <= 0xFF ? static_cast<char>(wide[i]) : '?';
    ++made;
  }
  return made;
}

int ToWide(const char* bytes, int n, OLECHAR* out, int /*room*/) {
  for (int i = 0; out != nullptr && i < n; ++i) out[i] = static_cast<unsigned char>(bytes[i]);
  return n;
}
#endif

}  // namespace

HRESULT AnsiFromWide(BSTR wide, BSTR* bytes) {
  *bytes = nullptr;
  const UINT length = SysStringLen(wide);
  if (length == 0) return S_OK;
  if (length > INT_MAX) return E_OUTOFMEMORY;
  const int n = ToAnsi(wide, static_cast<int>(length), nullptr, 0);
  if (n <= 0) return E_OUTOFMEMORY;
  BSTR out = SysAllocStringByteLen(nullptr, static_cast<UINT>(n));
  if (out == nullptr) return E_OUTOFMEMORY;
  ToAnsi(wide, static_cast<int>(length), reinterpret_cast<char*>(out), n);
  *bytes = out;
  return S_OK;
}

HRESULT WideFromAnsi(BSTR bytes, BSTR* wide) {
  *wide = nullptr;
  const UINT length = SysStringByteLen(bytes);
  if (length > INT_MAX) return E_OUTOFMEMORY;
  const char* source = reinterpret_cast<const char*>(bytes);
  const int n = length == 0 ? 0 : ToWide(source, static_cast<int>(length), nullptr, 0);
  if (length != 0 && n <= 0) return E_OUTOFMEMORY;
  BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(n));
  if (out == nullptr) return E_OUTOFMEMORY;
  if (n > 0) ToWide(source, static_cast<int>(length), out, n);
  *wide = out;
  return S_OK;
}

}  // namespace twinekit::com
