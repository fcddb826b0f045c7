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

// A generator's state and its draws.
class Generator {
 public:
  explicit Generator(uint32_t state) : state_(state) {}

  // Advances the state and returns bits 16 to 30 of it: 0 to 32767.
  int Draw() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }

 private:
  uint32_t state_;
};

// Draws taken modulo n (n >= 1), by a multiplication instead of a
// division.  With c = ceil(2^32 / n), the top half of the 64-bit product of
// (c * draw mod 2^32) and n is draw mod n for every draw and every n below
// 2^16 (for n = 1, c wraps to 0 and gives 0, as it should); from 32768 on,
// a draw is its own remainder.
class DrawModulo {
 public:
  explicit DrawModulo(size_t n)
      : n_(static_cast<uint32_t>(n < kDraws ? n : kDraws)), reciprocal_(0xFFFFFFFFu / n_ + 1) {}

  size_t Remainder(uint32_t draw) const {
    if (n_ == kDraws) return draw;
    return static_cast<size_t>((uint64_t{reciprocal_ * draw} * n_) >> 32);
  }

  // The next draw of generator modulo n.
  size_t Next(Generator& generator) const {
    return Remainder(static_cast<uint32_t>(generator.Draw()));
  }

 private:
  static constexpr uint32_t kDraws = 32768;  // draws are below this
  uint32_t n_;
  uint32_t reciprocal_;
};

}  // namespace twinekit
