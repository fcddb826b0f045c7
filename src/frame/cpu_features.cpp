#include "frame/cpu_features.h"

#include <atomic>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace twinekit {
namespace {

enum Answer : int { kUnknown = 0, kNo = 1, kYes = 2 };

bool AskSsse3() {
#if defined(__i386__) || defined(__x86_64__)
  unsigned a = 0, b = 0, c = 0, d = 0;
  return __get_cpuid(1, &a, &b, &c, &d) != 0 && (c & bit_SSSE3) != 0;
#else
  return false;
#endif
}

}  // namespace

// CPUID is slow (and traps to the hypervisor in a virtual machine), so the
// answer is kept.  Two threads asking at once both ask the CPU and store
// the same answer.
bool CpuHasSsse3() {
  static std::atomic<int> answer{kUnknown};
  int known = answer.load(std::memory_order_relaxed);
  if (known == kUnknown) {
    known = AskSsse3() ? kYes : kNo;
    answer.store(known, std::memory_order_relaxed);
  }
  return known == kYes;
}

}  // namespace twinekit
