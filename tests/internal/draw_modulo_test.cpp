// The remainder by a reciprocal against the % operator: every length up to
// past the draws' range, and draws spread over all of it, the last one
// included.
#include <gtest/gtest.h>

#include <cstdint>

#include "frame/random.h"

TEST(DrawModulo, AgreesWithTheRemainderOperator) {
  for (uint32_t n = 1; n <= 40000; ++n) {
    const twinekit::DrawModulo modulo(n);
    for (uint32_t draw = 0; draw < 32768; draw += draw < 64 ? 1 : 61) {
      ASSERT_EQ(modulo.Remainder(draw), draw % n) << n << " " << draw;
    }
    ASSERT_EQ(modulo.Remainder(32767), 32767 % n) << n;
  }
}
