// The scans a byte at a time: the reference every other form answers
// alike.
#include <algorithm>

#include "frame/kernels/kernel_table.h"

namespace twinekit::kernels {
namespace {

// The place of the n-th member (n >= 1) at or after from, or s.size() when
// there are fewer; n = 0 gives from (at most s.size()).
size_t FindNth(Bytes s, size_t from, const ByteClass& c, size_t n) {
  for (size_t i = from; i < s.size(); ++i) {
    if (n == 0) return i;
    if (c.Contains(s[i]) && --n == 0) return i;
  }
  return s.size();
}

// The place of the n-th member (n >= 1) counting back from the byte before
// end (at most s.size()), or SIZE_MAX when there are fewer; n = 0 gives end
// (at most s.size()).
size_t FindNthLast(Bytes s, size_t end, const ByteClass& c, size_t n) {
  end = std::min(end, s.size());
  if (n == 0) return end;
  for (size_t i = end; i > 0; --i) {
    if (c.Contains(s[i - 1]) && --n == 0) return i - 1;
  }
  return SIZE_MAX;
}

size_t Count(Bytes s, const ByteClass& c) {
  size_t count = 0;
  for (const uint8_t b : s) count += c.Contains(b) ? 1 : 0;
  return count;
}

// Writes to out the bytes of s that are members (keep_members) or that are
// not, in order; returns how many.  out has room for them.
size_t Keep(Bytes s, const ByteClass& c, bool keep_members, MutableBytes out) {
  size_t written = 0;
  for (const uint8_t b : s) {
    if (c.Contains(b) == keep_members) out[written++] = b;
  }
  return written;
}

}  // namespace

const ScanKernels kPlainScans = {Count, FindNth, FindNthLast, Keep};

}  // namespace twinekit::kernels
