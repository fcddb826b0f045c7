// The scans by windows of 64 bytes, shared by the vector forms: a form
// brings a matcher M of a byte class, with
//   bool One(uint8_t b)                   whether b is a member;
//   uint64_t Mask64(const uint8_t* p)     bit i set when p[i] is, 64 bytes;
//   uint64_t MaskTail(const uint8_t* p, size_t len)   the same, len < 64;
//   size_t ChunkCount(const uint8_t* p)   the members in kChunk bytes;
//   static int Popcount(uint64_t x)
// and includes this file inside its target region and namespace (see
// form_target.h), so that each form gets its own copies, compiled for its
// instructions.  Loads never pass the text's end: a window shorter than 64
// bytes goes to MaskTail.
//
// Long texts are first taken in chunks of 63 windows, each counted in
// bulk; the windows then look only inside the chunk that holds the member
// sought.
//
// ByMatcher and the operations after the scans let a form pick its matcher
// for a class once and run any scan with it; KeepRest is the byte-at-a-time
// end of every form's Keep.

inline constexpr size_t kWindow = 64;
inline constexpr size_t kChunk = 63 * kWindow;

template <typename M>
uint64_t WindowMask(const uint8_t* p, size_t len, const M& m) {
  return len == kWindow ? m.Mask64(p) : m.MaskTail(p, len);
}

// The place of the n-th lowest (n >= 1) and n-th highest set bit of mask,
// which has at least n.
inline size_t NthLowestBit(uint64_t mask, size_t n) {
  while (--n > 0) mask &= mask - 1;
  return static_cast<size_t>(std::countr_zero(mask));
}
inline size_t NthHighestBit(uint64_t mask, size_t n) {
  while (--n > 0) mask &= ~(uint64_t{1} << (63 - std::countl_zero(mask)));
  return static_cast<size_t>(63 - std::countl_zero(mask));
}

template <typename M>
size_t FindNthBy(Bytes s, size_t from, const M& m, size_t n) {
  if (n == 0) return std::min(from, s.size());
  size_t at = from;
  for (; at < s.size() && s.size() - at >= kChunk; at += kChunk) {
    const size_t found = m.ChunkCount(s.data() + at);
    if (found >= n) break;
    n -= found;
  }
  for (; at < s.size(); at += kWindow) {
    const size_t len = std::min(kWindow, s.size() - at);
    const uint64_t mask = WindowMask(s.data() + at, len, m);
    const auto found = static_cast<size_t>(M::Popcount(mask));
    if (found >= n) return at + NthLowestBit(mask, n);
    n -= found;
  }
  return s.size();
}

template <typename M>
size_t FindNthLastBy(Bytes s, size_t end, const M& m, size_t n) {
  end = std::min(end, s.size());
  if (n == 0) return end;
  for (; end >= kChunk; end -= kChunk) {
    const size_t found = m.ChunkCount(s.data() + end - kChunk);
    if (found >= n) break;
    n -= found;
  }
  while (end > 0) {
    const size_t len = std::min(kWindow, end);
    const size_t at = end - len;
    const uint64_t mask = WindowMask(s.data() + at, len, m);
    const auto found = static_cast<size_t>(M::Popcount(mask));
    if (found >= n) return at + NthHighestBit(mask, n);
    n -= found;
    end = at;
  }
  return SIZE_MAX;
}

template <typename M>
size_t CountBy(Bytes s, const M& m) {
  size_t count = 0;
  size_t at = 0;
  for (; s.size() - at >= kChunk; at += kChunk) count += m.ChunkCount(s.data() + at);
  for (; at < s.size(); at += kWindow) {
    const size_t len = std::min(kWindow, s.size() - at);
    count += static_cast<size_t>(M::Popcount(WindowMask(s.data() + at, len, m)));
  }
  return count;
}

// The scans as operations on whichever matcher fits a class: One for a
// class of one value, Runs for one of at most kMaxRuns runs, Set for any
// other; ByMatcher builds the one that fits and applies op to it.
template <typename One, typename Runs, typename Set, typename Op>
size_t ByMatcher(const ByteClass& c, const Op& op) {
  if (c.one_value()) return op(One(c));
  if (c.by_runs()) return op(Runs(c));
  return op(Set(c));
}

struct CountOp {
  Bytes s;
  template <typename M>
  size_t operator()(const M& m) const { return CountBy(s, m); }
};
struct FindNthOp {
  Bytes s;
  size_t from, n;
  template <typename M>
  size_t operator()(const M& m) const { return FindNthBy(s, from, m, n); }
};
struct FindNthLastOp {
  Bytes s;
  size_t end, n;
  template <typename M>
  size_t operator()(const M& m) const { return FindNthLastBy(s, end, m, n); }
};

// The bytes of s after those done in blocks, a byte at a time.
size_t KeepRest(Bytes s, const ByteClass& c, bool keep_members, uint8_t* out) {
  size_t written = 0;
  for (const uint8_t b : s) {
    if (c.Contains(b) == keep_members) out[written++] = b;
  }
  return written;
}
