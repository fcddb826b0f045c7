// The masks of short spans against a byte loop: every length up to 16
// (one word, two overlapping words, two whole words), every byte value
// looked for, spans drawn from a few values, the zero byte and letters of
// both cases among them, so that every byte position meets every kind.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "frame/byte_mask.h"
#include "frame/chars.h"

namespace {

using twinekit::Bytes;
using twinekit::MaskedSpan;

uint64_t PlainMask(const std::vector<uint8_t>& s, uint8_t value, bool lowered) {
  uint64_t mask = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const uint8_t b = lowered ? twinekit::ToLower(s[i]) : s[i];
    if (b == value) mask |= uint64_t{1} << i;
  }
  return mask;
}

TEST(ByteMask, AgreesWithAByteLoopAtEveryLength) {
  const uint8_t kinds[] = {0, 1, '@', 'A', 'Z', '[', '`', 'a', 'z', '{', 0x7F, 0x80, 0xC1, 0xDA, 0xFF};
  std::mt19937 gen(1616);
  for (size_t n = 0; n <= twinekit::kMaxMaskedSpan; ++n) {
    for (int trial = 0; trial < 200; ++trial) {
      std::vector<uint8_t> s(n);
      for (uint8_t& b : s) b = kinds[gen() % std::size(kinds)];
      const MaskedSpan span{Bytes(s)};
      const MaskedSpan lowered = span.Lowered();
      for (int v = 0; v < 256; ++v) {
        const auto value = static_cast<uint8_t>(v);
        ASSERT_EQ(span.Mask(value), PlainMask(s, value, false)) << "n=" << n << " v=" << v;
        ASSERT_EQ(lowered.Mask(value), PlainMask(s, value, true)) << "n=" << n << " v=" << v;
      }
      ASSERT_EQ(span.HoldsZero(), PlainMask(s, 0, false) != 0) << "n=" << n;
      const std::vector<uint8_t> any = {kinds[gen() % 15], kinds[gen() % 15], kinds[gen() % 15]};
      ASSERT_EQ(span.MaskOfAny(Bytes(any)),
                PlainMask(s, any[0], false) | PlainMask(s, any[1], false) | PlainMask(s, any[2], false));
    }
  }
}

}  // namespace
