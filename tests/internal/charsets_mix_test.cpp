// The shuffle's expected results (tests/cases/charsets_mix.h) come from a
// generator of their own; it must draw what the library's generator draws.
#include <gtest/gtest.h>

#include <random>

#include "cases/charsets_mix.h"
#include "frame/random.h"

namespace {

TEST(CharsetsMixGenerator, KnownDraws) {
  tkcases::MixGenerator one(1), zero(0);
  for (const int want : {41, 18467, 6334, 26500}) EXPECT_EQ(one.Draw(), want);
  for (const int want : {38, 7719, 21238, 2437}) EXPECT_EQ(zero.Draw(), want);
}

TEST(CharsetsMixGenerator, DrawsAsTheLibraryDoes) {
  std::mt19937 rng(11);
  for (int round = 0; round < 1000; ++round) {
    const uint32_t seed = static_cast<uint32_t>(rng());
    tkcases::MixGenerator mine(seed);
    twinekit::SeedGenerator(seed);
    for (int draw = 0; draw < 50; ++draw) {
      ASSERT_EQ(mine.Draw(), twinekit::DrawFromGenerator()) << "seed " << seed;
    }
  }
}

}  // namespace
