// Keep by byte shuffles, shared by the SSSE3 and AVX2 scans: a form
// includes this file inside its target region and namespace (see
// form_target.h) after scan_windows.inl; its matcher brings Mask16, and
// Mask32 when it tests 32 bytes at once.

// The number of set bits of each 8-bit mask.
constexpr std::array<uint8_t, 256> kSetBits = [] {
  std::array<uint8_t, 256> bits{};
  for (unsigned mask = 0; mask < 256; ++mask) bits[mask] = static_cast<uint8_t>(words::CountOfBits(mask));
  return bits;
}();

// For each 8-bit mask, the places of its set bits in increasing order, one
// a byte from the lowest, then 0x80 bytes (which a shuffle makes zero).
constexpr std::array<uint64_t, 256> kSetBitPlaces = [] {
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

// The bytes of the 16 at p whose bit is set in keep, in order at out, as
// two halves of 8, each shuffled to its kept bytes by the places of the
// set bits of its 8-bit mask and stored as 8 bytes after the last kept
// byte: 16 bytes of out are written.  Returns how many are kept.
inline size_t StoreKept16(const uint8_t* p, uint32_t keep, uint8_t* out) {
  const __m128i high_half = _mm_set_epi64x(0x0808080808080808, 0);
  const __m128i places = _mm_set_epi64x(static_cast<int64_t>(kSetBitPlaces[keep >> 8]),
                                        static_cast<int64_t>(kSetBitPlaces[keep & 0xFFu]));
  const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i kept = _mm_shuffle_epi8(block, _mm_add_epi8(places, high_half));
  const size_t low_count = kSetBits[keep & 0xFFu];
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), kept);
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out + low_count), _mm_unpackhi_epi64(kept, kept));
  return low_count + kSetBits[keep >> 8];
}

// With no branch to mispredict, every block of 32 (when the matcher tests
// 32 at once) or 16 goes by StoreKept16 while as many bytes of out remain.
template <typename M>
size_t KeepByShuffles(Bytes s, const M& m, const ByteClass& c, bool keep_members,
                      MutableBytes out_bytes) {
  const uint8_t* in = s.data();
  uint8_t* out = out_bytes.data();
  const uint32_t flip = keep_members ? 0u : 0xFFFFFFFFu;
  size_t written = 0;
  size_t i = 0;
  if constexpr (requires { m.Mask32(in); }) {
    for (; i + 32 <= s.size() && written + 32 <= out_bytes.size(); i += 32) {
      const uint32_t keep = m.Mask32(in + i) ^ flip;
      written += StoreKept16(in + i, keep & 0xFFFFu, out + written);
      written += StoreKept16(in + i + 16, keep >> 16, out + written);
    }
  }
  for (; i + 16 <= s.size() && written + 16 <= out_bytes.size(); i += 16) {
    written += StoreKept16(in + i, (m.Mask16(in + i) ^ flip) & 0xFFFFu, out + written);
  }
  return written + KeepRest(s.subspan(i), c, keep_members, out + written);
}

struct KeepOp {
  Bytes s;
  const ByteClass& c;
  bool keep_members;
  MutableBytes out;
  template <typename M>
  size_t operator()(const M& m) const { return KeepByShuffles(s, m, c, keep_members, out); }
};
