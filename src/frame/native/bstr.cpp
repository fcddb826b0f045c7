// Native BSTRs in the published layout: a 32-bit byte count, then the
// payload, then two zero bytes (a wide terminator), the pointer addressing
// the payload.  A null BSTR has length 0.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "frame/native/hooks.h"
#include "frame/platform.h"

namespace {

using twinekit::native::Pool;

constexpr size_t kPrefix = sizeof(uint32_t);
constexpr size_t kTerminator = 2;

unsigned char* Base(BSTR s) { return reinterpret_cast<unsigned char*>(s) - kPrefix; }

BSTR Allocate(const void* source, UINT byte_count) {
  if (!twinekit::native::AdmitAllocation(Pool::kBstr)) return nullptr;
  // Refuse what the 32-bit count or this process's size_t cannot describe.
  const uint64_t total = uint64_t{byte_count} + kPrefix + kTerminator;
  const bool describable = total <= UINT32_MAX && total <= SIZE_MAX;
  auto* base = describable
                   ? static_cast<unsigned char*>(std::malloc(static_cast<size_t>(total)))
                   : nullptr;
  if (base == nullptr) {
    twinekit::native::AllocationFailed(Pool::kBstr);
    return nullptr;
  }
  const uint32_t count = byte_count;
  std::memcpy(base, &count, kPrefix);
  unsigned char* payload = base + kPrefix;
  if (source != nullptr) {
    std::memcpy(payload, source, byte_count);
  } else {
    std::memset(payload, 0, byte_count);
  }
  payload[byte_count] = 0;
  payload[byte_count + 1] = 0;
  twinekit::native::AllocationMade(Pool::kBstr, byte_count);
  return reinterpret_cast<BSTR>(payload);
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
  std::memcpy(&count, Base(s), kPrefix);
  return count;
}

UINT SysStringLen(BSTR s) { return SysStringByteLen(s) / sizeof(OLECHAR); }

void SysFreeString(BSTR s) {
  if (s == nullptr) return;
  twinekit::native::AllocationFreed(Pool::kBstr);
  std::free(Base(s));
}

}  // extern "C"
