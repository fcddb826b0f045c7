// The matchers of 16-byte blocks shared by the SSE2 and SSSE3 scans: a
// form includes this file inside its target region and namespace (see
// form_target.h) after scan_windows.inl and sse2_blocks.inl, and brings
// its own matcher of classes of more than kMaxRuns runs.

// What every matcher shares: masks and bulk counts from Hits(p), a vector
// of 0xFF lanes for the members among the 16 bytes at p.
template <typename Self>
class Blocks {
 public:
  static int Popcount(uint64_t x) { return static_cast<int>(words::CountOfBits(x)); }

  uint32_t Mask16(const uint8_t* p) const {
    return static_cast<uint32_t>(_mm_movemask_epi8(self().Hits(p)));
  }
  uint64_t Mask64(const uint8_t* p) const {
    return uint64_t{Mask16(p)} | uint64_t{Mask16(p + 16)} << 16 |
           uint64_t{Mask16(p + 32)} << 32 | uint64_t{Mask16(p + 48)} << 48;
  }
  uint64_t MaskTail(const uint8_t* p, size_t len) const {
    uint64_t mask = 0;
    size_t i = 0;
    for (; i + 16 <= len; i += 16) mask |= uint64_t{Mask16(p + i)} << i;
    for (; i < len; ++i) mask |= uint64_t{self().One(p[i])} << i;
    return mask;
  }
  // A counter a lane, 252 blocks at most so that none wraps, summed once.
  size_t ChunkCount(const uint8_t* p) const {
    __m128i counts = _mm_setzero_si128();
    for (size_t i = 0; i < kChunk; i += 16) counts = _mm_sub_epi8(counts, self().Hits(p + i));
    const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
    return static_cast<size_t>(_mm_cvtsi128_si32(sums)) +
           static_cast<size_t>(_mm_extract_epi16(sums, 4));
  }

 private:
  const Self& self() const { return static_cast<const Self&>(*this); }
};

// A class of one value: one compare a block.
class OneValue : public Blocks<OneValue> {
 public:
  explicit OneValue(const ByteClass& c) : value_(c.single(0)), splat_(Splat(value_)) {}
  bool One(uint8_t b) const { return b == value_; }
  __m128i Hits(const uint8_t* p) const { return _mm_cmpeq_epi8(Load(p), splat_); }

 private:
  uint8_t value_;
  __m128i splat_;
};

// A class of at most kMaxRuns runs: a compare for each run of one value
// and a range compare for each wider run.
class ByRuns : public Blocks<ByRuns> {
 public:
  explicit ByRuns(const ByteClass& c) : class_(c), singles_(c.singles()), ranges_(c.ranges()) {
    for (size_t k = 0; k < singles_; ++k) single_[k] = Splat(c.single(k));
    for (size_t k = 0; k < ranges_; ++k) {
      low_[k] = Splat(c.range_low(k));
      span_[k] = Splat(c.range_span(k));
    }
  }
  bool One(uint8_t b) const { return class_.Contains(b); }
  __m128i Hits(const uint8_t* p) const {
    const __m128i block = Load(p);
    __m128i hits = _mm_setzero_si128();
    for (size_t k = 0; k < singles_; ++k) hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, single_[k]));
    for (size_t k = 0; k < ranges_; ++k) hits = _mm_or_si128(hits, InRange(block, low_[k], span_[k]));
    return hits;
  }

 private:
  // Only the runs the class has are filled: a short call would spend more
  // on clearing the arrays than on its scan.
  const ByteClass& class_;
  size_t singles_;
  size_t ranges_;
  __m128i single_[ByteClass::kMaxRuns];
  __m128i low_[ByteClass::kMaxRuns];
  __m128i span_[ByteClass::kMaxRuns];
};
