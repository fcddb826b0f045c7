// The token tests through the exports against a plain model that splits
// the list and asks std::string::find, on random texts of every length up
// to past the short-text search (so on both sides of it), over tiny
// alphabets with zero bytes, with tokens drawn from the text, near-misses
// of them and random ones, of every length up to past two words.
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

// The list's length is read as a 16-bit Integer; text and tokens end at
// their first zero byte; empty tokens are skipped.
bool PlainTokensOccur(const Text& txt, const Text& tokens, char sep, bool all) {
  const auto length = static_cast<int16_t>(tokens.size() & 0xFFFF);
  if (txt.empty() || length == 0) return false;
  if (length < 0) return all;
  const Text text = txt.substr(0, txt.find('\0'));
  const Text list = tokens.substr(0, static_cast<size_t>(length));
  for (size_t start = 0; start <= list.size();) {
    const size_t end = std::min(list.find(sep, start), list.size());
    Text token = list.substr(start, end - start);
    token.resize(std::min(token.size(), token.find('\0')));
    if (!token.empty() && (text.find(token) != Text::npos) != all) return !all;
    start = end + 1;
  }
  return all;
}

class Draw {
 public:
  explicit Draw(uint32_t seed) : gen_(seed) {}
  size_t Below(size_t n) { return gen_() % n; }

  Text Bytes(size_t length, std::string_view alphabet) {
    Text out(length, '\0');
    for (char& c : out) c = alphabet[Below(alphabet.size())];
    return out;
  }

  // A token that occurs in text, one with a byte changed, or a random one.
  Text Token(const Text& text, std::string_view alphabet) {
    const size_t length = 1 + Below(20);
    if (text.empty() || Below(3) == 0) return Bytes(length, alphabet);
    const size_t at = Below(text.size());
    Text token = text.substr(at, length);
    if (Below(3) == 0) token[Below(token.size())] = alphabet[Below(alphabet.size())];
    return token;
  }

 private:
  std::mt19937 gen_;
};

TEST(TokenTestsReference, AgreeWithAPlainSplitAndFind) {
  Draw draw(1729);
  const std::string_view alphabets[] = {"ab", "ab|;\0"sv, "aAbB\xFF\x80"};
  for (int round = 0; round < 60000; ++round) {
    const std::string_view alphabet = alphabets[round % 3];
    const Text txt = draw.Bytes(draw.Below(81), alphabet);
    const char sep = draw.Below(2) ? '|' : ';';
    Text tokens;
    for (size_t count = 1 + draw.Below(4); count > 0; --count) {
      tokens += draw.Token(txt, alphabet);
      if (count > 1) tokens += sep;
    }
    tksupport::HostString t(txt), list(tokens), s(Text(1, sep));
    for (const bool all : {false, true}) {
      const int expected = PlainTokensOccur(txt, tokens, sep, all) ? -1 : 0;
      const auto where = "round " + std::to_string(round) + (all ? " all" : " any");
      ASSERT_EQ(all ? cAndTokenIn(t.value(), list.value(), s.value())
                    : cOrTokenIn(t.value(), list.value(), s.value()),
                expected)
          << where;
      if (sep != '|') continue;
      ASSERT_EQ(all ? cAndToken(t.value(), list.value()) : cOrToken(t.value(), list.value()),
                expected)
          << where;
    }
  }
}

}  // namespace
