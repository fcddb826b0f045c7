// The published layout of a BSTR: a 32-bit byte count, then the payload,
// then two zero bytes (a wide terminator), the pointer addressing the
// payload.  The native allocator lays out its BSTRs this way, and so does
// a caller that keeps a short read-only BSTR in its own memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "frame/platform.h"

namespace twinekit {

inline constexpr size_t kBstrPrefix = sizeof(uint32_t);
inline constexpr size_t kBstrTerminator = 2;

// Lays out a BSTR of count bytes at base, which holds count + kBstrPrefix
// + kBstrTerminator bytes: a copy of source, or zeros when it is null.
inline BSTR LayBstr(unsigned char* base, const void* source, uint32_t count) {
  std::memcpy(base, &count, kBstrPrefix);
  unsigned char* payload = base + kBstrPrefix;
  if (source != nullptr) {
    if (count > 0) std::memcpy(payload, source, count);
  } else {
    std::memset(payload, 0, count);
  }
  payload[count] = 0;
  payload[count + 1] = 0;
  return reinterpret_cast<BSTR>(payload);
}

}  // namespace twinekit
