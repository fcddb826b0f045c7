// The byte maps' walk over blocks and the map of few changed values,
// shared by the vector forms: a form defines its vector type Vec, its width
// kWidth and the operations Load, Store, Splat, Zero, Xor, And and Equal
// on it, then includes this file inside its target region and namespace
// (see form_target.h), so that each form gets its own copies, compiled for
// its instructions.

// in.size() is at least kWidth: out[i, i + kWidth) = map.Map(in[i, i +
// kWidth)) for the whole blocks, then for the last kWidth bytes, loaded
// before any store, so that no load or store passes the text's end and a
// map in place never maps a byte twice.
template <typename Map>
void MapBlocks(Bytes in, uint8_t* out, const Map& map) {
  const size_t n = in.size();
  const Vec last = Load(in.data() + n - kWidth);
  for (size_t i = 0; i + kWidth < n; i += kWidth) Store(out + i, map.Map(Load(in.data() + i)));
  Store(out + n - kWidth, map.Map(last));
}

// A byte equals at most one from value, so its image is the byte xor the
// (from ^ to) of the value it equals: a compare, an and and an xor for
// each changed value.
class FewChanges {
 public:
  // Padded to a multiple of four with pairs of 0 to 0, which flip
  // nothing, so that the compares run four at a time.
  FewChanges(Bytes from, const uint8_t* to) : count_((from.size() + 3) / 4 * 4) {
    for (size_t k = 0; k < count_; ++k) {
      const bool given = k < from.size();
      from_[k] = Splat(given ? from[k] : 0);
      delta_[k] = Splat(given ? static_cast<uint8_t>(from[k] ^ to[k]) : 0);
    }
  }

  Vec Map(Vec x) const {
    Vec flips = Zero();
    for (size_t k = 0; k < count_; k += 4) {
      flips = Xor(flips, Xor(Xor(Flip(x, k), Flip(x, k + 1)), Xor(Flip(x, k + 2), Flip(x, k + 3))));
    }
    return Xor(x, flips);
  }

 private:
  // from ^ to in the lanes of x that hold from_[k], 0 elsewhere.
  Vec Flip(Vec x, size_t k) const { return And(Equal(x, from_[k]), delta_[k]); }

  size_t count_;
  Vec from_[kMaxFewChanges];
  Vec delta_[kMaxFewChanges];
};
