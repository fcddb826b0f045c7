// Scans of a byte string for the bytes a matcher accepts: the n-th match
// from a place forwards or backwards, the number of matches, and the bytes
// kept or dropped by matching.
//
// Each scan has two forms with the same answers.  The bytewise form looks
// at one byte at a time and is the reference.  The blockwise form, the one
// the library uses, asks the matcher for the matches of 16 bytes at a time
// (SSE2 compares where the compiler targets SSE2) and gathers them into
// 64-bit masks of 64-byte windows.  It loads 16 bytes only while 16 bytes
// of the text remain; the last bytes are asked of the matcher one by one.
//
// A matcher gives One(b), whether byte b matches, and Mask16(p), bit i set
// when p[i] matches, for the 16 bytes at p; with SSE2 it may also give
// Hits16(p), the same as a vector of 0xFF and 0 lanes, which lets long
// texts be counted in bulk.  OneByte and ByteMatcher are the two the
// library needs most; a family may bring its own.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#include <tmmintrin.h>
#endif

#include "frame/byte_set.h"
#include "frame/cpu_features.h"
#include "frame/bytes.h"

namespace twinekit::scan {

inline constexpr size_t kNotFound = SIZE_MAX;

#ifdef __SSE2__
// 0xFF in the lanes of block whose byte b lies in [low, low + span] (each
// lane of low and span alike): (b - low), unsigned, is at most span, so
// min(b - low, span) equals b - low.
inline __m128i InRange16(__m128i block, __m128i low, __m128i span) {
  const __m128i offset = _mm_sub_epi8(block, low);
  return _mm_cmpeq_epi8(_mm_min_epu8(offset, span), offset);
}

// The same for a range of constants, from first to last.
inline __m128i InRange16(__m128i block, uint8_t first, uint8_t last) {
  return InRange16(block, _mm_set1_epi8(static_cast<char>(first)),
                   _mm_set1_epi8(static_cast<char>(last - first)));
}
#endif

// One byte value.
class OneByte {
 public:
  explicit OneByte(uint8_t value) : value_(value) {}
  uint8_t value() const { return value_; }
  bool One(uint8_t b) const { return b == value_; }
#ifdef __SSE2__
  __m128i Hits16(const uint8_t* p) const {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return _mm_cmpeq_epi8(block, _mm_set1_epi8(static_cast<char>(value_)));
  }
  uint32_t Mask16(const uint8_t* p) const {
    return static_cast<uint32_t>(_mm_movemask_epi8(Hits16(p)));
  }
#else
  uint32_t Mask16(const uint8_t* p) const {
    uint32_t mask = 0;
    for (int i = 0; i < 16; ++i) mask |= static_cast<uint32_t>(p[i] == value_) << i;
    return mask;
  }
#endif

 private:
  uint8_t value_;
};

// A set of byte values.  Its distinct members are kept in order and, when
// they make at most kMaxRanges runs of consecutive values, 16 bytes are
// tested at once: one compare for a run of one value, one unsigned range
// compare for a wider run.  A set of more runs is tested byte by byte
// through a flag table.
class ByteMatcher {
 public:
  static constexpr size_t kMaxRanges = 8;

  explicit ByteMatcher(Bytes members) {
    for (const uint8_t b : members) {
      if (set_.Contains(b)) continue;
      set_.Add(b);
      size_t at = count_++;
      for (; at > 0 && values_[at - 1] > b; --at) values_[at] = values_[at - 1];
      values_[at] = b;
    }
    MakeRanges();
  }

  bool One(uint8_t b) const { return set_.Contains(b); }
  bool empty() const { return count_ == 0; }

  // Takes b out of the set.
  void Remove(uint8_t b) {
    if (!set_.Contains(b)) return;
    set_.Remove(b);
    const auto end = values_.begin() + static_cast<std::ptrdiff_t>(count_);
    const auto at = std::find(values_.begin(), end, b);
    std::copy(at + 1, end, at);
    --count_;
    MakeRanges();
  }

#ifdef __SSE2__
  __m128i Hits16(const uint8_t* p) const {
    if (singles_ + wides_ > kMaxRanges) {
      alignas(16) uint8_t hits[16];
      for (int i = 0; i < 16; ++i) hits[i] = set_.Contains(p[i]) ? 0xFF : 0;
      return _mm_load_si128(reinterpret_cast<const __m128i*>(hits));
    }
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i hits = _mm_setzero_si128();
    for (size_t k = 0; k < singles_; ++k) {
      hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, Load(low_[k])));
    }
    for (size_t k = kMaxRanges - wides_; k < kMaxRanges; ++k) {
      hits = _mm_or_si128(hits, InRange16(block, Load(low_[k]), Load(span_[k])));
    }
    return hits;
  }
  uint32_t Mask16(const uint8_t* p) const {
    return static_cast<uint32_t>(_mm_movemask_epi8(Hits16(p)));
  }
#else
  uint32_t Mask16(const uint8_t* p) const {
    uint32_t mask = 0;
    for (int i = 0; i < 16; ++i) mask |= static_cast<uint32_t>(set_.Contains(p[i])) << i;
    return mask;
  }
#endif

 private:
  using Block = std::array<uint8_t, 16>;

#ifdef __SSE2__
  static __m128i Load(const Block& b) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(b.data()));
  }
#endif

  // Runs of consecutive members, each broadcast to 16 bytes as its lowest
  // value and its width less one: runs of one value from the front of the
  // table, wider runs from its back.
  void MakeRanges() {
    singles_ = 0;
    wides_ = 0;
    for (size_t i = 0; i < count_;) {
      size_t j = i;
      while (j + 1 < count_ && values_[j + 1] == values_[j] + 1) ++j;
      if (singles_ + wides_ < kMaxRanges) {
        const size_t k = i == j ? singles_ : kMaxRanges - 1 - wides_;
        low_[k].fill(values_[i]);
        span_[k].fill(static_cast<uint8_t>(values_[j] - values_[i]));
      }
      ++(i == j ? singles_ : wides_);
      i = j + 1;
    }
  }

  // Only the first count_ values and the blocks MakeRanges filled are ever
  // read, so the arrays are left uninitialised: a short call would spend
  // more on clearing them than on its scan.
  ByteSet set_;
  std::array<uint8_t, 256> values_;
  size_t count_ = 0;
  size_t singles_ = 0;
  size_t wides_ = 0;
  std::array<Block, kMaxRanges> low_;
  std::array<Block, kMaxRanges> span_;
};

// The reference forms, one byte at a time.
namespace bytewise {

// The place of the n-th match (n >= 1) at or after from, or s.size() when
// there are fewer; n = 0 gives from (at most s.size()).
template <typename Match>
size_t FindNth(Bytes s, size_t from, const Match& match, size_t n) {
  for (size_t i = from; i < s.size(); ++i) {
    if (n == 0) return i;
    if (match.One(s[i]) && --n == 0) return i;
  }
  return s.size();
}

// The place of the n-th match (n >= 1) counting back from the byte before
// end (at most s.size()), or kNotFound when there are fewer; n = 0 gives
// end (at most s.size()).
template <typename Match>
size_t FindNthLast(Bytes s, size_t end, const Match& match, size_t n) {
  end = std::min(end, s.size());
  if (n == 0) return end;
  for (size_t i = end; i > 0; --i) {
    if (match.One(s[i - 1]) && --n == 0) return i - 1;
  }
  return kNotFound;
}

template <typename Match>
size_t Count(Bytes s, const Match& match) {
  size_t count = 0;
  for (const uint8_t b : s) count += match.One(b) ? 1 : 0;
  return count;
}

// Writes to out the bytes of s that match (keep_matches) or that do not
// (!keep_matches), in order; returns how many.  out has room for s.size().
template <typename Match>
size_t Keep(Bytes s, const Match& match, bool keep_matches, uint8_t* out) {
  size_t written = 0;
  for (const uint8_t b : s) {
    if (match.One(b) == keep_matches) out[written++] = b;
  }
  return written;
}

}  // namespace bytewise

namespace blockwise {
namespace detail {

inline constexpr size_t kWindow = 64;

inline int Popcount64(uint64_t x) {
  x = x - ((x >> 1) & 0x5555555555555555u);
  x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
  return static_cast<int>((x * 0x0101010101010101u) >> 56);
}

// Bit i set when p[i] matches, for the len <= 64 bytes at p: whole blocks
// of 16 first, the bytes after the last whole block one by one.
template <typename Match>
uint64_t WindowMask(const uint8_t* p, size_t len, const Match& match) {
  uint64_t mask = 0;
  size_t i = 0;
  for (; i + 16 <= len; i += 16) mask |= uint64_t{match.Mask16(p + i)} << i;
  for (; i < len; ++i) mask |= uint64_t{match.One(p[i])} << i;
  return mask;
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

// Long texts are first taken in chunks of 63 windows, each counted in bulk
// where the matcher gives its matches as a vector (Hits16(p): 0xFF in lane
// i when p[i] matches): a counter per lane, 252 blocks at most so that no
// counter wraps, summed once at the end.  The windows then look only inside
// the chunk that holds the match sought.
inline constexpr size_t kChunk = 63 * kWindow;

#ifdef __SSE2__
template <typename Match>
concept CountsInBulk = requires(const Match& m, const uint8_t* p) { m.Hits16(p); };

template <typename Match>
size_t ChunkCount(const uint8_t* p, const Match& match) {
  __m128i counts = _mm_setzero_si128();
  for (size_t i = 0; i < kChunk; i += 16) counts = _mm_sub_epi8(counts, match.Hits16(p + i));
  const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
  return static_cast<size_t>(_mm_cvtsi128_si32(sums)) +
         static_cast<size_t>(_mm_extract_epi16(sums, 4));
}
#else
template <typename Match>
concept CountsInBulk = false;
template <typename Match>
size_t ChunkCount(const uint8_t*, const Match&) { return 0; }
#endif

}  // namespace detail

// The same answers as bytewise::FindNth.
template <typename Match>
size_t FindNth(Bytes s, size_t from, const Match& match, size_t n) {
  if (n == 0) return std::min(from, s.size());
  size_t at = from;
  if constexpr (detail::CountsInBulk<Match>) {
    for (; at < s.size() && s.size() - at >= detail::kChunk; at += detail::kChunk) {
      const size_t found = detail::ChunkCount(s.data() + at, match);
      if (found >= n) break;
      n -= found;
    }
  }
  for (; at < s.size(); at += detail::kWindow) {
    const size_t len = std::min(detail::kWindow, s.size() - at);
    const uint64_t mask = detail::WindowMask(s.data() + at, len, match);
    const auto found = static_cast<size_t>(detail::Popcount64(mask));
    if (found >= n) return at + detail::NthLowestBit(mask, n);
    n -= found;
  }
  return s.size();
}

// The same answers as bytewise::FindNthLast.
template <typename Match>
size_t FindNthLast(Bytes s, size_t end, const Match& match, size_t n) {
  end = std::min(end, s.size());
  if (n == 0) return end;
  if constexpr (detail::CountsInBulk<Match>) {
    for (; end >= detail::kChunk; end -= detail::kChunk) {
      const size_t found = detail::ChunkCount(s.data() + end - detail::kChunk, match);
      if (found >= n) break;
      n -= found;
    }
  }
  while (end > 0) {
    const size_t len = std::min(detail::kWindow, end);
    const size_t at = end - len;
    const uint64_t mask = detail::WindowMask(s.data() + at, len, match);
    const auto found = static_cast<size_t>(detail::Popcount64(mask));
    if (found >= n) return at + detail::NthHighestBit(mask, n);
    n -= found;
    end = at;
  }
  return kNotFound;
}

template <typename Match>
size_t Count(Bytes s, const Match& match) {
  size_t count = 0;
  size_t at = 0;
  if constexpr (detail::CountsInBulk<Match>) {
    for (; s.size() - at >= detail::kChunk; at += detail::kChunk) {
      count += detail::ChunkCount(s.data() + at, match);
    }
  }
  for (; at < s.size(); at += detail::kWindow) {
    const size_t len = std::min(detail::kWindow, s.size() - at);
    count += static_cast<size_t>(detail::Popcount64(detail::WindowMask(s.data() + at, len, match)));
  }
  return count;
}

#ifdef __SSE2__
// The kept bytes of the 16 at p (bit i of keep set: p[i] kept) moved to
// the front of the block, in order; the lanes after them hold zero bytes.
// Each kept byte moves towards the front by the number of dropped bytes
// before it, in four steps of 1, 2, 4 and 8 lanes taken by the bits of
// that number, smallest first, so that no two kept bytes ever meet.
inline __m128i PackKept(const uint8_t* p, uint32_t keep) {
  const __m128i lane_bit = _mm_set_epi8(-128, 64, 32, 16, 8, 4, 2, 1, -128, 64, 32, 16, 8, 4, 2, 1);
  const __m128i bits = _mm_unpacklo_epi64(_mm_set1_epi8(static_cast<char>(keep & 0xFF)),
                                          _mm_set1_epi8(static_cast<char>(keep >> 8)));
  const __m128i kept = _mm_cmpeq_epi8(_mm_and_si128(bits, lane_bit), lane_bit);
  __m128i value = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), kept);
  __m128i dropped = _mm_andnot_si128(kept, _mm_set1_epi8(1));
  dropped = _mm_add_epi8(dropped, _mm_slli_si128(dropped, 1));
  dropped = _mm_add_epi8(dropped, _mm_slli_si128(dropped, 2));
  dropped = _mm_add_epi8(dropped, _mm_slli_si128(dropped, 4));
  dropped = _mm_add_epi8(dropped, _mm_slli_si128(dropped, 8));
  __m128i shift = _mm_and_si128(dropped, kept);
  const auto step = [&](__m128i moves, auto shifted) {
    value = _mm_or_si128(_mm_andnot_si128(moves, value), shifted(_mm_and_si128(value, moves)));
    shift = _mm_or_si128(_mm_andnot_si128(moves, shift), shifted(_mm_and_si128(shift, moves)));
  };
  const auto moves = [&](int by) {
    const __m128i b = _mm_set1_epi8(static_cast<char>(by));
    return _mm_cmpeq_epi8(_mm_and_si128(shift, b), b);
  };
  step(moves(1), [](__m128i v) { return _mm_srli_si128(v, 1); });
  step(moves(2), [](__m128i v) { return _mm_srli_si128(v, 2); });
  step(moves(4), [](__m128i v) { return _mm_srli_si128(v, 4); });
  step(moves(8), [](__m128i v) { return _mm_srli_si128(v, 8); });
  return value;
}
#endif

// The same answers as bytewise::Keep, into out, which has room for the
// kept bytes (and may have more).  A block kept whole is one 16-byte copy,
// a block dropped whole nothing, a mixed block its kept bytes moved to its
// front and stored whole; the bytes stored past the kept ones are
// overwritten by the next block.  Blocks go whole while 16 bytes of out
// remain, so that no store passes its end; the rest go byte by byte.
template <typename Match>
size_t KeepSse2(Bytes s, const Match& match, bool keep_matches, MutableBytes out_bytes) {
  const uint8_t* in = s.data();
  uint8_t* out = out_bytes.data();
  const uint32_t flip = keep_matches ? 0u : 0xFFFFu;
  size_t written = 0;
  size_t i = 0;
  for (; i + 16 <= s.size() && written + 16 <= out_bytes.size(); i += 16) {
    const uint32_t keep = match.Mask16(in + i) ^ flip;
    if (keep == 0xFFFFu) {
      std::memcpy(out + written, in + i, 16);
      written += 16;
    } else if (keep != 0) {
#ifdef __SSE2__
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + written), PackKept(in + i, keep));
      written += static_cast<size_t>(detail::Popcount64(keep));
#else
      for (size_t j = 0; j < 16; ++j) {
        out[written] = in[i + j];
        written += (keep >> j) & 1u;
      }
#endif
    }
  }
  return written + bytewise::Keep(s.subspan(i), match, keep_matches, out + written);
}

#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__))
#define TK_HAVE_SSSE3_KEEP 1

namespace detail {

// The number of set bits of each 8-bit mask.
inline constexpr std::array<uint8_t, 256> kSetBits = [] {
  std::array<uint8_t, 256> bits{};
  for (unsigned mask = 0; mask < 256; ++mask) bits[mask] = static_cast<uint8_t>(std::popcount(mask));
  return bits;
}();

// For each 8-bit mask, the places of its set bits in increasing order, one
// a byte from the lowest, then 0x80 bytes (which a shuffle makes zero).
inline constexpr std::array<uint64_t, 256> kSetBitPlaces = [] {
  std::array<uint64_t, 256> places{};
  for (unsigned mask = 0; mask < 256; ++mask) {
    uint64_t packed = 0x8080808080808080u;
    unsigned n = 0;
    for (unsigned bit = 0; bit < 8; ++bit) {
      if ((mask >> bit & 1u) == 0) continue;
      packed &= ~(uint64_t{0xFF} << (8 * n));
      packed |= uint64_t{bit} << (8 * n++);
    }
    places[mask] = packed;
  }
  return places;
}();

}  // namespace detail

// The same answers as KeepSse2, for CPUs with SSSE3: every block, with no
// branch to mispredict, is two halves of 8, each shuffled to its kept bytes
// by a table of the places of the set bits of its 8-bit mask, and stored
// as 8 bytes after the last kept byte, while 16 bytes of out remain.
template <typename Match>
__attribute__((target("ssse3"))) size_t KeepSsse3(Bytes s, const Match& match,
                                                  bool keep_matches, MutableBytes out_bytes) {
  const uint8_t* in = s.data();
  uint8_t* out = out_bytes.data();
  const uint32_t flip = keep_matches ? 0u : 0xFFFFu;
  const __m128i high_half = _mm_set_epi64x(0x0808080808080808, 0);
  size_t written = 0;
  size_t i = 0;
  for (; i + 16 <= s.size() && written + 16 <= out_bytes.size(); i += 16) {
    const uint32_t keep = match.Mask16(in + i) ^ flip;
    const __m128i places =
        _mm_set_epi64x(static_cast<int64_t>(detail::kSetBitPlaces[keep >> 8]),
                       static_cast<int64_t>(detail::kSetBitPlaces[keep & 0xFFu]));
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    const __m128i kept = _mm_shuffle_epi8(block, _mm_add_epi8(places, high_half));
    const size_t low_count = detail::kSetBits[keep & 0xFFu];
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + written), kept);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + written + low_count),
                     _mm_unpackhi_epi64(kept, kept));
    written += low_count + detail::kSetBits[keep >> 8];
  }
  return written + bytewise::Keep(s.subspan(i), match, keep_matches, out + written);
}
#endif

// The fastest of the two forms the CPU can run.
template <typename Match>
size_t Keep(Bytes s, const Match& match, bool keep_matches, MutableBytes out) {
#ifdef TK_HAVE_SSSE3_KEEP
  if (CpuHasSsse3()) return KeepSsse3(s, match, keep_matches, out);
#endif
  return KeepSse2(s, match, keep_matches, out);
}

}  // namespace blockwise

// The forms the families call.
template <typename Match>
size_t FindNth(Bytes s, size_t from, const Match& match, size_t n) {
  return blockwise::FindNth(s, from, match, n);
}
template <typename Match>
size_t FindNthLast(Bytes s, size_t end, const Match& match, size_t n) {
  return blockwise::FindNthLast(s, end, match, n);
}
template <typename Match>
size_t Count(Bytes s, const Match& match) {
  return blockwise::Count(s, match);
}
template <typename Match>
size_t Keep(Bytes s, const Match& match, bool keep_matches, MutableBytes out) {
  return blockwise::Keep(s, match, keep_matches, out);
}

// The first match at or after from (s.size() when none), and the last one
// before end (kNotFound when none).
template <typename Match>
size_t Find(Bytes s, size_t from, const Match& match) {
  return FindNth(s, from, match, 1);
}
// One byte value forwards: the C library's memchr, vectorised already and
// faster than the windows above.
inline size_t Find(Bytes s, size_t from, const OneByte& match) {
  if (from >= s.size()) return s.size();
  const void* hit = std::memchr(s.data() + from, match.value(), s.size() - from);
  return hit == nullptr ? s.size()
                        : static_cast<size_t>(static_cast<const uint8_t*>(hit) - s.data());
}
template <typename Match>
size_t FindLast(Bytes s, size_t end, const Match& match) {
  return FindNthLast(s, end, match, 1);
}

}  // namespace twinekit::scan
