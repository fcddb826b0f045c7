// Scans of a byte string for the members of a byte class: the n-th member
// from a place forwards or backwards, the number of members, and the bytes
// kept or dropped by membership.  The work is done by the kernel of the
// form the CPU runs best (frame/kernels/).
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/byte_class.h"
#include "frame/bytes.h"
#include "frame/word_find.h"
#include "frame/kernels/kernel_table.h"

namespace twinekit::scan {

inline constexpr size_t kNotFound = SIZE_MAX;

// The place of the n-th member (n >= 1) at or after from, or s.size() when
// there are fewer; n = 0 gives from (at most s.size()).
inline size_t FindNth(Bytes s, size_t from, const ByteClass& c, size_t n) {
  return kernels::Kernels().scan->find_nth(s, from, c, n);
}

// The place of the n-th member (n >= 1) counting back from the byte before
// end (at most s.size()), or kNotFound when there are fewer; n = 0 gives
// end (at most s.size()).
inline size_t FindNthLast(Bytes s, size_t end, const ByteClass& c, size_t n) {
  return kernels::Kernels().scan->find_nth_last(s, end, c, n);
}

inline size_t Count(Bytes s, const ByteClass& c) { return kernels::Kernels().scan->count(s, c); }

// Writes to out the bytes of s that are members (keep_members) or that are
// not, in order; returns how many.  out has room for the kept bytes (and
// may have more).
inline size_t Keep(Bytes s, const ByteClass& c, bool keep_members, MutableBytes out) {
  return kernels::Kernels().scan->keep(s, c, keep_members, out);
}

// The first member at or after from (s.size() when none), and the last one
// before end (kNotFound when none).

// One byte value forwards: a word at a time in a short text, else the C
// library's memchr, vectorised already and faster than the windows of the
// kernels (frame/word_find.h).
inline size_t Find(Bytes s, size_t from, uint8_t value) {
  return FindByte(s.data(), from, s.size(), value);
}

// The first member at or after from (s.size() when none), and the last one
// before end (kNotFound when none).
inline size_t Find(Bytes s, size_t from, const ByteClass& c) {
  return c.one_value() ? Find(s, from, c.single(0)) : FindNth(s, from, c, 1);
}
inline size_t FindLast(Bytes s, size_t end, const ByteClass& c) {
  return FindNthLast(s, end, c, 1);
}

}  // namespace twinekit::scan
