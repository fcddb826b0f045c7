// The text passes a byte at a time: the reference every other form
// answers alike.
#include "frame/chars.h"
#include "frame/kernels/kernel_table.h"

namespace twinekit::kernels {
namespace {

void Reverse(Bytes in, uint8_t* out) {
  const size_t n = in.size();
  for (size_t i = 0; i < n; ++i) out[n - 1 - i] = in[i];
}

void RaiseAfterBlanks(Bytes in, uint8_t* out) {
  for (size_t i = 0; i < in.size(); ++i) {
    out[i] = i == 0 || in[i - 1] == ' ' ? ToUpper(in[i]) : in[i];
  }
}

void Capitalise(uint8_t* work, size_t n, bool after_punct) {
  for (size_t p = 1; p <= n; ++p) {
    const uint8_t prev = work[p - 1];
    const bool starts_word = prev == ' ' || (after_punct && IsPunct(prev));
    work[p] = starts_word ? ToUpper(work[p]) : ToLower(work[p]);
  }
}

size_t FindPair(const uint8_t* y, size_t from, size_t last, size_t first_at, uint8_t first,
                size_t second_at, uint8_t second) {
  for (size_t j = from; j <= last; ++j) {
    if (y[j + first_at] == first && y[j + second_at] == second) return j;
  }
  return SIZE_MAX;
}

}  // namespace

const TextKernels kPlainText = {Reverse, RaiseAfterBlanks, Capitalise, FindPair};

}  // namespace twinekit::kernels
