// The word-at-a-time primitives against a byte loop: every byte value in
// every place of a word among random neighbours, the word at every place
// of spans of every length up to 24, and the lowering of runs in place and
// apart, either side of the word and block lengths.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <vector>

#include "frame/chars.h"
#include "frame/lowering.h"
#include "frame/word_bits.h"

namespace {

namespace words = twinekit::words;

uint8_t ByteOf(uint64_t word, size_t k) { return static_cast<uint8_t>(word >> (8 * k)); }
bool Marked(uint64_t marks, size_t k) { return (marks >> (8 * k + 7) & 1) != 0; }

TEST(WordBits, ByteTestsAgreeWithTheByteRulesInEveryPlace) {
  std::mt19937_64 gen(88);
  for (int v = 0; v < 256; ++v) {
    const auto value = static_cast<uint8_t>(v);
    for (size_t place = 0; place < 8; ++place) {
      for (int trial = 0; trial < 16; ++trial) {
        uint64_t word = gen();
        word = (word & ~(uint64_t{0xFF} << (8 * place))) | uint64_t{value} << (8 * place);
        const uint8_t probe = ByteOf(gen(), 0) & (trial % 2 == 0 ? 0xFF : 0x7F);
        const uint64_t lowered = words::LowerLetters(word);
        const uint64_t equal = words::EqualMarks(word, probe);
        size_t first_equal = 8;
        for (size_t k = 0; k < 8; ++k) {
          const uint8_t b = ByteOf(word, k);
          ASSERT_EQ(Marked(words::PunctHighs(word), k), twinekit::IsPunct(b)) << v;
          ASSERT_EQ(Marked(words::EqualHighs(word, probe), k), b == probe) << v;
          ASSERT_EQ(ByteOf(lowered, k), twinekit::ToLower(b)) << v;
          if (b == probe && first_equal == 8) first_equal = k;
        }
        // EqualMarks is exact at its lowest mark.
        ASSERT_EQ(equal == 0 ? 8 : words::FirstMarkedByte(equal), first_equal) << v;
        ASSERT_EQ(words::CountOfBits(word), static_cast<size_t>(std::popcount(word)));
        ASSERT_EQ(words::CountOfMarks(words::EqualHighs(word, probe)),
                  static_cast<size_t>(std::popcount(words::EqualHighs(word, probe))));
      }
    }
  }
}

TEST(WordBits, WordAtGivesTheBytesFromAPlaceWithZerosPastTheEnd) {
  std::vector<uint8_t> bytes(24);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(0xA0 + i);
  for (size_t size = 1; size <= bytes.size(); ++size) {
    for (size_t at = 0; at < size; ++at) {
      const uint64_t word = words::WordAt(bytes.data(), size, at);
      for (size_t k = 0; k < 8; ++k) {
        ASSERT_EQ(ByteOf(word, k), at + k < size ? bytes[at + k] : 0) << size << " " << at;
      }
    }
  }
}

TEST(WordBits, LowerRunLowersEveryLengthInPlaceAndApart) {
  std::mt19937 gen(7);
  for (size_t n = 0; n <= 80; ++n) {
    std::vector<uint8_t> text(n);
    for (uint8_t& b : text) b = static_cast<uint8_t>(gen());
    std::vector<uint8_t> expected(text);
    for (uint8_t& b : expected) b = twinekit::ToLower(b);
    std::vector<uint8_t> apart(n);
    twinekit::LowerRun(text.data(), n, apart.data());
    EXPECT_EQ(apart, expected) << n;
    twinekit::LowerRun(text.data(), n, text.data());
    EXPECT_EQ(text, expected) << n;
  }
}

}  // namespace
