// The result cMixChars must give for a text when the generator is seeded
// with a given seed: a step-by-step rendering of the shuffle, written for
// checking only.  Standard library only, so that the DLL harness can use
// it too: it reads the clock before and after a call and, when both fall
// in the same second, checks the exact permutation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace tkcases {

// The generator: state × 214013 + 2531011 modulo 2^32, bits 16 to 30.
class MixGenerator {
 public:
  explicit MixGenerator(uint32_t seed) : state_(seed) {}
  int Draw() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }

 private:
  uint32_t state_;
};

inline std::string ExpectedMix(uint32_t seed, std::string_view text) {
  const size_t n = text.size();
  // The working copy: the text up to its first zero byte, then zero bytes.
  std::string work(n, '\0');
  for (size_t i = 0; i < n && text[i] != '\0'; ++i) work[i] = text[i];
  MixGenerator generator(seed);
  for (size_t step = 0; step < n; ++step) {
    size_t a = static_cast<size_t>(generator.Draw()) % n;
    size_t b = static_cast<size_t>(generator.Draw()) % n;
    if (a == b) {
      a = static_cast<size_t>(generator.Draw()) % n;
      b = static_cast<size_t>(generator.Draw()) % n;
    }
    std::swap(work[a], work[b]);
  }
  return work;
}

}  // namespace tkcases
