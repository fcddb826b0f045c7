// Passes over a whole text that one family each owns: reversal, the
// raising and the capitalisation of names, and the search for a pair of
// bytes at two fixed distances.  The work is done by the kernel of the
// form the CPU runs best (frame/kernels/).
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/bytes.h"
#include "frame/kernels/kernel_table.h"

namespace twinekit::text {

// in's bytes in reverse order into out (room for in.size()).
inline void Reverse(Bytes in, uint8_t* out) { kernels::Kernels().text->reverse(in, out); }

// out[i] = in[i] with a small letter made capital where i is 0 or in[i - 1]
// is a blank (room for in.size()).
inline void RaiseAfterBlanks(Bytes in, uint8_t* out) {
  kernels::Kernels().text->raise_after_blanks(in, out);
}

// work[1..n] in place: a letter capital where the byte before it is a
// blank (or, with after_punct, an ASCII punctuation mark), small
// elsewhere; work[0] is read only.
inline void Capitalise(uint8_t* work, size_t n, bool after_punct) {
  kernels::Kernels().text->capitalise(work, n, after_punct);
}

inline constexpr size_t kNoPair = SIZE_MAX;

// The first j in [from, last] with y[j + first_at] == first and
// y[j + second_at] == second, or kNoPair; y[last + first_at] and
// y[last + second_at] must be readable.
inline size_t FindPair(const uint8_t* y, size_t from, size_t last, size_t first_at, uint8_t first,
                       size_t second_at, uint8_t second) {
  return kernels::Kernels().text->find_pair(y, from, last, first_at, first, second_at, second);
}

}  // namespace twinekit::text
