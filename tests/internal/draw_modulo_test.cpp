// The remainder by a reciprocal against the % operator: every length up to
// past the draws' range, and draws spread over all of it, the last one
// included.  The draws taken a block at a time, and the shuffle built on
// them, against the generator stepped one draw at a time.
#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <utility>
#include <vector>

#include "charsets/charsets.h"
#include "frame/random.h"

namespace {

using twinekit::DrawModulo;
using twinekit::Generator;
using twinekit::kDrawBlock;

TEST(DrawModulo, AgreesWithTheRemainderOperator) {
  for (uint32_t n = 1; n <= 40000; ++n) {
    const DrawModulo modulo(n);
    for (uint32_t draw = 0; draw < 32768; draw += draw < 64 ? 1 : 61) {
      ASSERT_EQ(modulo.Remainder(draw), draw % n) << n << " " << draw;
    }
    ASSERT_EQ(modulo.Remainder(32767), 32767 % n) << n;
  }
}

TEST(DrawModulo, BlocksAgreeWithSingleDraws) {
  for (uint32_t n = 1; n <= 40000; n += n < 300 ? 1 : 97) {
    const DrawModulo modulo(n);
    for (const uint32_t seed : {0u, 1u, 0x7FFFFFFFu, 0xFFFFFFFFu, n * 2654435761u}) {
      Generator one_at_a_time(seed), blocks(seed);
      for (int block = 0; block < 4; ++block) {
        uint32_t positions[kDrawBlock];
        modulo.NextBlock(blocks, positions);
        for (size_t k = 0; k < kDrawBlock; ++k) {
          ASSERT_EQ(positions[k], modulo.Next(one_at_a_time)) << n << " " << seed << " " << k;
        }
      }
    }
  }
}

// The shuffle as the steps define it, one draw at a time.
void ReferenceShuffle(std::vector<uint8_t>& work, uint32_t seed) {
  Generator generator(seed);
  const DrawModulo position(work.size());
  for (size_t step = 0; step < work.size(); ++step) {
    size_t a = position.Next(generator);
    size_t b = position.Next(generator);
    if (a == b) {
      a = position.Next(generator);
      b = position.Next(generator);
    }
    std::swap(work[a], work[b]);
  }
}

TEST(Shuffle, AgreesWithOneDrawAtATime) {
  std::vector<size_t> lengths(40);
  std::iota(lengths.begin(), lengths.end(), 1);
  lengths.insert(lengths.end(), {100, 32767, 32768, 40000});
  for (const size_t n : lengths) {
    const int seeds = n > 1000 ? 3 : 200;
    for (int s = 0; s < seeds; ++s) {
      const uint32_t seed = s == 0 ? 0xFFFFFFFFu : static_cast<uint32_t>(s) * 2654435761u;
      std::vector<uint8_t> expected(n), actual(n);
      for (size_t i = 0; i < n; ++i) expected[i] = actual[i] = static_cast<uint8_t>(i * 7 + i / 256);
      ReferenceShuffle(expected, seed);
      twinekit::charsets::Shuffle(actual, seed);
      ASSERT_EQ(actual, expected) << n << " " << seed;
    }
  }
}

}  // namespace
