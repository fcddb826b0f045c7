// The library's pseudo-random generator, a linear congruential generator,
// the same on every platform.  Its one user, the shuffle, seeds it from the
// clock at every call, so no state of it outlives a call: each call draws
// from a generator of its own, and calls on two threads at once each draw
// their own sequence.
#pragma once

#include <cstddef>
#include <cstdint>

namespace twinekit {

// The seed from the clock: calendar time in whole seconds since
// 1970-01-01 00:00:00 UTC, as 32 bits; all 32 bits set (-1) for a time
// before 1970 or past the 32-bit range (frame/clock.cpp).
uint32_t SeedFromClock();

// Draws come in blocks of this many when taken ahead (Generator::DrawBlock).
inline constexpr size_t kDrawBlock = 32;

namespace random_detail {

inline constexpr uint32_t kMultiplier = 214013u;
inline constexpr uint32_t kIncrement = 2531011u;

// multiplier[k] and increment[k] take a state k + 1 steps ahead: from s to
// multiplier[k] * s + increment[k].
struct Jumps {
  uint32_t multiplier[kDrawBlock];
  uint32_t increment[kDrawBlock];
};

constexpr Jumps MakeJumps() {
  Jumps jumps{};
  uint32_t multiplier = 1, increment = 0;
  for (size_t k = 0; k < kDrawBlock; ++k) {
    multiplier *= kMultiplier;
    increment = increment * kMultiplier + kIncrement;
    jumps.multiplier[k] = multiplier;
    jumps.increment[k] = increment;
  }
  return jumps;
}

inline constexpr Jumps kJumps = MakeJumps();

// Bits 16 to 30 of a state: 0 to 32767.
constexpr uint32_t ToDraw(uint32_t state) { return (state >> 16) & 0x7FFF; }

}  // namespace random_detail

// A generator's state and its draws.
class Generator {
 public:
  explicit Generator(uint32_t state) : state_(state) {}

  // Advances the state and returns its draw: 0 to 32767.
  int Draw() {
    using namespace random_detail;
    state_ = state_ * kMultiplier + kIncrement;
    return static_cast<int>(ToDraw(state_));
  }

  // The next kDrawBlock draws into draws, the same as that many calls of
  // Draw().  Each state is a jump from the present one, not a step from
  // the state before it, so the draws do not wait on each other and the
  // loop vectorises.
  void DrawBlock(uint32_t* draws) {
    using namespace random_detail;
    const uint32_t state = state_;
    for (size_t k = 0; k < kDrawBlock; ++k) {
      draws[k] = ToDraw(kJumps.multiplier[k] * state + kJumps.increment[k]);
    }
    state_ = kJumps.multiplier[kDrawBlock - 1] * state + kJumps.increment[kDrawBlock - 1];
  }

 private:
  uint32_t state_;
};

// Draws taken modulo n (n >= 1), by a multiplication instead of a
// division.  With c = ceil(2^32 / n), the top half of the 64-bit product of
// (c * draw mod 2^32) and n is draw mod n for every draw and every n below
// 2^16 (for n = 1, c wraps to 0 and gives 0, as it should); from 32768 on,
// a draw is its own remainder.
//
// A block of draws takes the same remainders in single precision, where
// four lanes of a vector share each operation: q = trunc((draw + 1/2) * f)
// with f = 1/n rounded, then draw - q * n.  The quotient is exact: the
// fractional part of (draw + 1/2) / n lies in [1/(2n), 1 - 1/(2n)], and the
// two roundings (of f and of the product, each relative 2^-24) move a
// value below 2^15 / n by less than 2^-8 / n.  Every other step is on
// integers below 2^24, exact in a float.
class DrawModulo {
 public:
  explicit DrawModulo(size_t n)
      : n_(static_cast<uint32_t>(n < kDraws ? n : kDraws)),
        reciprocal_(0xFFFFFFFFu / n_ + 1),
        inverse_(1.0f / static_cast<float>(n_)) {}

  size_t Remainder(uint32_t draw) const {
    if (n_ == kDraws) return draw;
    return static_cast<size_t>((uint64_t{reciprocal_ * draw} * n_) >> 32);
  }

  // The next draw of generator modulo n.
  size_t Next(Generator& generator) const {
    return Remainder(static_cast<uint32_t>(generator.Draw()));
  }

  // The next kDrawBlock draws of generator modulo n, into positions.
  void NextBlock(Generator& generator, uint32_t* positions) const {
    generator.DrawBlock(positions);
    if (n_ == kDraws) return;
    const float n = static_cast<float>(n_);
    for (size_t k = 0; k < kDrawBlock; ++k) {
      const float draw = static_cast<float>(static_cast<int32_t>(positions[k]));
      const float quotient = static_cast<float>(static_cast<int32_t>((draw + 0.5f) * inverse_));
      positions[k] = static_cast<uint32_t>(static_cast<int32_t>(draw - quotient * n));
    }
  }

 private:
  static constexpr uint32_t kDraws = 32768;  // draws are below this
  uint32_t n_;
  uint32_t reciprocal_;
  float inverse_;
};

}  // namespace twinekit
