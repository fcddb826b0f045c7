#include "frame/cpu_features.h"

#include <atomic>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace twinekit {
namespace {

CpuFeatures Ask() {
  CpuFeatures f;
#if defined(__i386__) || defined(__x86_64__)
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (__get_cpuid(1, &a, &b, &c, &d) == 0) return f;
  f.sse2 = (d & bit_SSE2) != 0;
  f.ssse3 = f.sse2 && (c & bit_SSSE3) != 0;
  const bool avx = (c & bit_AVX) != 0 && (c & bit_OSXSAVE) != 0;
  const bool popcnt = (c & bit_POPCNT) != 0;
  // The 256-bit registers are usable only when the system saves them
  // (bits 1 and 2 of XCR0: the SSE and AVX states).
  unsigned xcr0 = 0;
  if (avx) {
    unsigned high = 0;
    __asm__ volatile("xgetbv" : "=a"(xcr0), "=d"(high) : "c"(0));
  }
  if (!avx || (xcr0 & 6u) != 6u || !popcnt || __get_cpuid_max(0, nullptr) < 7) return f;
  __cpuid_count(7, 0, a, b, c, d);
  f.avx2 = f.ssse3 && (b & bit_AVX2) != 0 && (b & bit_BMI) != 0 && (b & bit_BMI2) != 0;
#endif
  return f;
}

}  // namespace

// CPUID is slow (and traps to the hypervisor in a virtual machine), so the
// answer is kept, as bits in one atomic word.  Two threads asking at once
// both ask the CPU and store the same answer.
CpuFeatures Cpu() {
  enum : unsigned { kKnown = 1, kSse2 = 2, kSsse3 = 4, kAvx2 = 8 };
  static std::atomic<unsigned> answer{0};
  unsigned bits = answer.load(std::memory_order_relaxed);
  if (bits == 0) {
    const CpuFeatures f = Ask();
    bits = kKnown | (f.sse2 ? kSse2 : 0u) | (f.ssse3 ? kSsse3 : 0u) | (f.avx2 ? kAvx2 : 0u);
    answer.store(bits, std::memory_order_relaxed);
  }
  return {(bits & kSse2) != 0, (bits & kSsse3) != 0, (bits & kAvx2) != 0};
}

}  // namespace twinekit
