// Size arithmetic for scratch buffers and results, checked so that nothing
// wraps on a 32-bit size_t.  A size that a BSTR's 32-bit count or this
// process cannot describe is no size at all: callers treat it like an
// allocation that cannot be had.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

namespace twinekit {

// The largest byte count a result or scratch buffer may have.
inline constexpr uint64_t kMaxBlockSize =
    std::numeric_limits<size_t>::max() < 0x7FFFFFFFu ? std::numeric_limits<size_t>::max()
                                                      : 0x7FFFFFFFu;

inline std::optional<size_t> CheckedSize(uint64_t n) {
  if (n > kMaxBlockSize) return std::nullopt;
  return static_cast<size_t>(n);
}

// a × b + c, each at most 32 bits wide, so the 64-bit sum cannot wrap.
inline std::optional<size_t> CheckedMulAdd(uint64_t a, uint64_t b, uint64_t c) {
  if (a > UINT32_MAX || b > UINT32_MAX || c > UINT32_MAX) return std::nullopt;
  return CheckedSize(a * b + c);
}

}  // namespace twinekit
