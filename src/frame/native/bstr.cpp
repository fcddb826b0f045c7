// Native BSTRs in the published layout (bstr_layout.h).  A null BSTR has
// length 0.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "frame/bstr_layout.h"
#include "frame/native/hooks.h"
#include "frame/platform.h"

namespace {

using twinekit::native::Pool;

using twinekit::kBstrPrefix;
using twinekit::kBstrTerminator;

unsigned char* Base(BSTR s) { return reinterpret_cast<unsigned char*>(s) - kBstrPrefix; }

BSTR Allocate(const void* source, UINT byte_count) {
  if (!twinekit::native::AdmitAllocation(Pool::kBstr)) return nullptr;
  // Refuse what the 32-bit count or this process's size_t cannot describe.
  const uint64_t total = uint64_t{byte_count} + kBstrPrefix + kBstrTerminator;
  const bool describable = total <= UINT32_MAX && total <= SIZE_MAX;
  auto* base = describable
                   ? static_cast<unsigned char*>(std::malloc(static_cast<size_t>(total)))
                   : nullptr;
  if (base == nullptr) {
    twinekit::native::AllocationFailed(Pool::kBstr);
    return nullptr;
  }
  BSTR made = twinekit::LayBstr(base, source, byte_count);
  twinekit::native::AllocationMade(Pool::kBstr, byte_count);
  return made;
}

}  // namespace

extern "C" {

BSTR SysAllocStringByteLen(const char* source, UINT length) {
  return Allocate(source, length);
}

BSTR SysAllocStringLen(const OLECHAR* source, UINT length) {
  if (length > UINT32_MAX / sizeof(OLECHAR)) return nullptr;
  return Allocate(source, length * static_cast<UINT>(sizeof(OLECHAR)));
}

UINT SysStringByteLen(BSTR s) {
  if (s == nullptr) return 0;
  uint32_t count;
  std::memcpy(&count, Base(s), kBstrPrefix);
  return count;
}

UINT SysStringLen(BSTR s) { return SysStringByteLen(s) / sizeof(OLECHAR); }

void SysFreeString(BSTR s) {
  if (s == nullptr) return;
  twinekit::native::AllocationFreed(Pool::kBstr);
  std::free(Base(s));
}

}  // extern "C"
