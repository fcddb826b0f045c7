// The character sets exports against step-by-step renderings of their
// algorithms (the pair-by-pair translation, the slot-by-slot check, the
// set search that stops at the first equal byte, the three-state block
// machine, the shuffle), on random inputs drawn from every byte value.  The
// library answers with 256-entry tables and a two-state block scan; these
// renderings show it answers the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "frame/platform.h"
#include "support/host_string.h"
#include "twinekit.h"
#include "twinekit_test_hooks.h"

namespace {

// --- The renderings -------------------------------------------------------

using Text = std::string;

int16_t LiteralChangeChars(Text& txt, const Text& old_chars, const Text& new_chars) {
  if (txt.empty() || old_chars.empty() || new_chars.empty()) return 0;
  const size_t m = std::min(old_chars.size(), new_chars.size());
  for (char& c : txt) {
    for (size_t k = 0; k < m; ++k) {
      if (c == old_chars[k]) c = new_chars[k];
    }
  }
  return -1;
}

int16_t LiteralChangeCharsUntil(Text& txt, const Text& old_chars, const Text& new_chars,
                                const Text& stop) {
  if (txt.empty() || old_chars.empty() || new_chars.empty() || stop.empty()) return 0;
  const size_t m = std::min(old_chars.size(), new_chars.size());
  for (char& c : txt) {
    if (c == stop[0]) return -1;
    for (size_t k = 0; k < m; ++k) {
      if (c == old_chars[k]) c = new_chars[k];
    }
  }
  return -1;
}

int16_t LiteralCheckChars(const Text& txt, const Text& chars) {
  const size_t n = txt.size(), m = chars.size();
  if (n == 0 || m == 0 || m > 128) return 0;
  struct Slot {
    char byte;
    bool found;
  };
  std::array<Slot, 128> area{};
  for (size_t i = 0; i < m; ++i) area[i] = {chars[i], false};
  size_t counter = 0;
  for (const char c : txt) {
    for (size_t i = 0; i < m; ++i) {
      if (!area[i].found && area[i].byte == c) {
        area[i].found = true;
        ++counter;
      }
    }
  }
  return counter == m ? -1 : 0;
}


// --- Calling the exports --------------------------------------------------

using Var = tksupport::HostString;
using tksupport::Take;

// The caller's variable for s; a null BSTR for an empty s when asked.
Var Arg(const Text& s, bool null_when_empty) {
  if (s.empty() && null_when_empty) return Var();
  return Var(s);
}

// --- Random inputs ---------------------------------------------------------

// Strings over a small random alphabet, so that sets and lists meet the
// text often; the alphabet is drawn from all 256 byte values.
class Inputs {
 public:
  explicit Inputs(uint32_t seed) : rng_(seed) {}

  void NewAlphabet() {
    static constexpr std::array<size_t, 5> kSizes = {1, 2, 4, 16, 256};
    alphabet_.clear();
    const size_t size = kSizes[Below(kSizes.size())];
    if (size == 256) {
      for (int v = 0; v < 256; ++v) alphabet_ += static_cast<char>(v);
    } else {
      for (size_t i = 0; i < size; ++i) alphabet_ += static_cast<char>(Below(256));
    }
  }

  Text String(size_t max_length) {
    Text s(Below(max_length + 1), '\0');
    for (char& c : s) c = alphabet_[Below(alphabet_.size())];
    return s;
  }

  size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }
  bool Coin() { return Below(2) == 0; }

 private:
  std::mt19937 rng_;
  Text alphabet_;
};

constexpr int kRounds = 20000;

std::string Hex(const Text& s) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (const unsigned char c : s) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
    out += ' ';
  }
  return out;
}

TEST(CharsetsReference, ChangeCharsChainsPairsInListOrder) {
  Inputs in(1);
  for (int round = 0; round < kRounds; ++round) {
    in.NewAlphabet();
    const Text txt = in.String(40), old_chars = in.String(24), new_chars = in.String(24);
    Text want = txt;
    const int16_t want_result = LiteralChangeChars(want, old_chars, new_chars);
    const bool nulls = in.Coin();
    Var t(Arg(txt, nulls)), o(Arg(old_chars, nulls)), n(Arg(new_chars, nulls));
    ASSERT_EQ(cChangeChars(t.ref(), o.ref(), n.ref()), want_result)
        << Hex(txt) << "| " << Hex(old_chars) << "| " << Hex(new_chars);
    ASSERT_EQ(t.bytes(), want) << Hex(txt) << "| " << Hex(old_chars) << "| " << Hex(new_chars);
  }
}

TEST(CharsetsReference, ChangeCharsUntilStopsBeforeTranslating) {
  Inputs in(2);
  for (int round = 0; round < kRounds; ++round) {
    in.NewAlphabet();
    const Text txt = in.String(40), old_chars = in.String(24), new_chars = in.String(24),
               stop = in.String(3);
    Text want = txt;
    const int16_t want_result = LiteralChangeCharsUntil(want, old_chars, new_chars, stop);
    const bool nulls = in.Coin();
    Var t(Arg(txt, nulls)), o(Arg(old_chars, nulls)), n(Arg(new_chars, nulls)),
        s(Arg(stop, nulls));
    ASSERT_EQ(cChangeCharsUntil(t.ref(), o.ref(), n.ref(), s.ref()), want_result)
        << Hex(txt) << "| " << Hex(old_chars) << "| " << Hex(new_chars) << "| " << Hex(stop);
    ASSERT_EQ(t.bytes(), want)
        << Hex(txt) << "| " << Hex(old_chars) << "| " << Hex(new_chars) << "| " << Hex(stop);
  }
}

TEST(CharsetsReference, CheckCharsFindsEverySlot) {
  Inputs in(3);
  for (int round = 0; round < kRounds; ++round) {
    in.NewAlphabet();
    // Sets up to 160 bytes reach past the 128-byte limit; texts up to 600
    // bytes can hold every value of a 256-byte alphabet.
    const Text txt = in.String(in.Coin() ? 40 : 600), chars = in.String(in.Coin() ? 8 : 160);
    const bool nulls = in.Coin();
    Var t(Arg(txt, nulls)), c(Arg(chars, nulls));
    ASSERT_EQ(cCheckChars(t.ref(), c.ref()), LiteralCheckChars(txt, chars))
        << Hex(txt) << "| " << Hex(chars);
  }
}

}  // namespace
