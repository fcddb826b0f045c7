// Byte strings as the exports see them: the bytes of a BSTR with its byte
// count.  Every byte value is an ordinary character; a null BSTR, or a null
// address where the caller should have passed one, reads as empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "frame/platform.h"
#include "frame/word_find.h"

namespace twinekit {

using Bytes = std::span<const uint8_t>;
using MutableBytes = std::span<uint8_t>;

inline Bytes ReadByValue(BSTR s) {
  if (s == nullptr) return {};
  return {reinterpret_cast<const uint8_t*>(s), SysStringByteLen(s)};
}

inline Bytes ReadByRef(const BSTR* ref) {
  return ref == nullptr ? Bytes{} : ReadByValue(*ref);
}

// The in-place functions write inside the byte count of the caller's BSTR.
inline MutableBytes ReadByRefForWriting(BSTR* ref) {
  if (ref == nullptr || *ref == nullptr) return {};
  return {reinterpret_cast<uint8_t*>(*ref), SysStringByteLen(*ref)};
}

// An Integer argument arrives in a 32-bit slot; only its low 16 bits count.
inline int16_t ReadInteger(TK_INTEGER_ARG slot) {
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(slot) & 0xFFFFu));
}

// The bytes of s before its first zero byte (all of s if it has none).
inline Bytes UpToFirstZero(Bytes s) { return s.first(FindByte(s.data(), 0, s.size(), 0)); }

// The first byte of s, or fallback when s is empty.
inline uint8_t FirstByteOr(Bytes s, uint8_t fallback) { return s.empty() ? fallback : s[0]; }

// A family's answer as the export gives it: True is -1, False 0.
inline TK_INTEGER AsBasicBool(bool value) { return value ? -1 : 0; }

}  // namespace twinekit
