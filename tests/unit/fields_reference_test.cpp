// Search and replace through the export against a plain search and replace
// that tries every position in turn, on random inputs over tiny alphabets
// (where matches, overlaps, case pairs and zero bytes abound) and over every
// byte value.  The library finds matches with the two-way searcher; the
// results must be the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "support/host_string.h"
#include "twinekit.h"

namespace {

using namespace std::literals;
using Text = std::string;

Text StringSAR(const Text& txt, const Text& find, const Text& replace, int32_t match_case) {
  tksupport::HostString t(txt), f(find), r(replace);
  return tksupport::Take(cStringSAR(t.value(), f.value(), r.value(), match_case));
}

// MatchCase 0 (its low 16 bits) lowers A-Z in the text's compared copy, up to
// its first zero byte, and in Find, which is compared up to and including its
// first zero byte yet takes its full length of text.  Text zero bytes outside
// matches drop out; Replace ends at its first zero byte, and the result at its
// first; one longer than six bytes per byte of text, less one, gives the text.
Text PlainSAR(const Text& txt, const Text& find, const Text& replace, int32_t match_case) {
  const size_t n = txt.size(), f = find.size();
  if (n == 0 || f == 0) return txt;
  const bool blind = static_cast<int16_t>(match_case) == 0;
  const auto lower = [blind](char c) {
    return blind && c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c;
  };
  Text compared = txt;
  for (size_t i = 0; i < n && compared[i] != '\0'; ++i) compared[i] = lower(compared[i]);
  Text pattern;
  for (size_t k = 0; k < f && (k == 0 || find[k - 1] != '\0'); ++k) pattern += lower(find[k]);

  Text out;
  if (f == 1 && replace.size() == 1) {
    for (size_t i = 0; i < n; ++i) out += compared[i] == pattern[0] ? replace[0] : txt[i];
  } else {
    const Text inserted = replace.substr(0, replace.find('\0'));
    for (size_t p = 0; p < n;) {
      if (p + f <= n && compared.compare(p, pattern.size(), pattern) == 0) {
        out += inserted;
        p += f;
      } else {
        if (txt[p] != '\0') out += txt[p];
        ++p;
      }
    }
  }
  out.resize(std::min(out.size(), out.find('\0')));
  return out.size() > 6 * n - 1 ? txt : out;
}

class Draw {
 public:
  explicit Draw(uint32_t seed) : gen_(seed) {}
  size_t Below(size_t n) { return gen_() % n; }

  // Up to max_length bytes of the alphabet, or one time in four of any value.
  Text Bytes(size_t max_length, std::string_view alphabet) {
    Text out(Below(max_length + 1), '\0');
    const bool any_byte = Below(4) == 0;
    for (char& c : out) {
      c = static_cast<char>(any_byte ? Below(256) : alphabet[Below(alphabet.size())]);
    }
    return out;
  }

 private:
  std::mt19937 gen_;
};

TEST(FieldsReference, StringSAROnShortInputs) {
  Draw draw(8675309);
  const std::string_view alphabets[] = {"ab", "aAbB\0"sv, "zZ@[`{\xC1\xE1\0"sv};
  const int32_t modes[] = {0, -1, 1, 0x10000, 0x1FFFF, 0x7FFF0000};
  for (int round = 0; round < 100000; ++round) {
    const std::string_view alphabet = alphabets[round % 3];
    const Text txt = draw.Bytes(20, alphabet);
    Text find = draw.Bytes(draw.Below(3) ? 5 : 1, alphabet);
    if (!txt.empty() && draw.Below(3) == 0) {
      find = txt.substr(draw.Below(txt.size()), 1 + draw.Below(5));  // one that occurs
    }
    const Text replace = draw.Bytes(draw.Below(3) ? 8 : 1, alphabet);
    const int32_t mode = modes[draw.Below(std::size(modes))];
    ASSERT_EQ(StringSAR(txt, find, replace, mode), PlainSAR(txt, find, replace, mode))
        << "round " << round;
  }
}

// Long periodic texts, where a search that shifts too far or too little goes
// wrong, search strings longer than 255 bytes, and replacements that
// overflow the output area.
TEST(FieldsReference, StringSAROnLongPeriodicInputs) {
  Draw draw(2718);
  for (int round = 0; round < 3000; ++round) {
    const Text unit = draw.Bytes(3, "aAb") + "a";
    Text txt;
    while (txt.size() < 200 + draw.Below(1200)) {
      txt += draw.Below(30) ? unit : Text(1, "\0B"[draw.Below(2)]);
    }
    Text find = txt.substr(draw.Below(txt.size()), 1 + draw.Below(600));
    if (draw.Below(3) == 0) find[draw.Below(find.size())] ^= 0x20;  // a case flip
    const Text replace =
        draw.Below(4) ? draw.Bytes(6, "xy\0"sv) : Text(draw.Below(12 * find.size() + 2), 'R');
    const int32_t mode = draw.Below(2) ? 0 : -1;
    ASSERT_EQ(StringSAR(txt, find, replace, mode), PlainSAR(txt, find, replace, mode))
        << "round " << round << ", search string of " << find.size() << " bytes";
  }
}

}  // namespace
