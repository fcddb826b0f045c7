// The fields, tokens and search exports against step-by-step renderings of
// their algorithms, on random inputs drawn from every byte value, zero
// bytes included.  The library finds separators with memchr and a 256-entry
// table and searches with the two-way method; these renderings scan byte by
// byte, copy each token into a token area and compare with a bounded,
// zero-terminated comparison.  The answers must be the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "frame/platform.h"
#include "support/host_string.h"
#include "twinekit.h"

namespace {

using namespace std::literals;
using Text = std::string;

// --- Calling the exports --------------------------------------------------

using Arg = tksupport::HostString;
using tksupport::Take;

Text Get(const Text& t, int32_t index) {
  Arg a(t);
  return Take(cGet(a.ref(), index));
}
Text GetIn(const Text& t, const Text& s, int32_t index) {
  Arg a(t), b(s);
  return Take(cGetIn(a.ref(), b.ref(), index));
}
Text GetInR(const Text& t, const Text& s, int32_t index) {
  Arg a(t), b(s);
  return Take(cGetInR(a.ref(), b.ref(), index));
}
Text GetInPart(const Text& t, const Text& s, int32_t first) {
  Arg a(t), b(s);
  return Take(cGetInPart(a.ref(), b.ref(), first));
}
Text GetInPartR(const Text& t, const Text& s, int32_t first) {
  Arg a(t), b(s);
  return Take(cGetInPartR(a.ref(), b.ref(), first));
}
int16_t Count(const Text& t, const Text& s) {
  Arg a(t), b(s);
  return cCount(a.ref(), b.ref());
}
Text TokenIn(const Text& t, const Text& seps, int32_t index) {
  Arg a(t), b(seps);
  return Take(cTokenIn(a.ref(), b.ref(), index));
}
Text StringSAR(const Text& t, const Text& find, const Text& replace, int32_t match_case) {
  Arg a(t), b(find), c(replace);
  return Take(cStringSAR(a.value(), b.value(), c.value(), match_case));
}

// --- The renderings -------------------------------------------------------

// The field scan with the separator test of the member: c separators seen,
// the current field's start and length.
template <typename IsSeparator>
Text LiteralField(const Text& txt, int32_t index, IsSeparator is_separator) {
  if (txt.empty() || index < 1) return "";
  int64_t c = 0;
  size_t start = 0, length = 0;
  for (size_t i = 0; i < txt.size(); ++i) {
    if (is_separator(static_cast<uint8_t>(txt[i]))) {
      ++c;
      if (c == index) break;
      start = i + 1;
      length = 0;
    } else {
      ++length;
    }
  }
  if (c + 1 < index || length == 0) return "";
  return txt.substr(start, length);
}

Text LiteralGetIn(const Text& txt, const Text& sep, int32_t index) {
  if (sep.empty()) return "";
  const auto s = static_cast<uint8_t>(sep[0]);
  return LiteralField(txt, index, [s](uint8_t b) { return b == s; });
}

Text LiteralGetInR(const Text& txt, const Text& sep, int32_t index) {
  if (txt.empty() || sep.empty() || index < 1) return "";
  const char s = sep[0];
  int64_t c = 0;
  size_t end = txt.size(), length = 0;  // the field is [end - length, end)
  for (size_t i = txt.size(); i-- > 0;) {
    if (txt[i] == s) {
      ++c;
      if (c == index) break;
      end = i;
      length = 0;
    } else {
      ++length;
    }
  }
  if (c + 1 < index || length == 0) return "";
  return txt.substr(end - length, length);
}

// The set test compares with the bytes of Seps in order, stopping at the
// first equal one.
Text LiteralTokenIn(const Text& txt, const Text& seps, int32_t index) {
  if (seps.empty()) return "";
  return LiteralField(txt, index, [&seps](uint8_t b) {
    for (char s : seps) {
      if (static_cast<uint8_t>(s) == b) return true;
    }
    return false;
  });
}

Text LiteralGetInPart(const Text& txt, const Text& sep, int32_t first_part) {
  if (txt.empty() || sep.empty()) return "";
  const size_t at = txt.find(sep[0]);
  if (first_part == -1) return at == Text::npos ? "" : txt.substr(0, at);
  return at == Text::npos ? txt : txt.substr(at + 1);
}

Text LiteralGetInPartR(const Text& txt, const Text& sep, int32_t first_part) {
  if (txt.empty() || sep.empty()) return "";
  const size_t at = txt.rfind(sep[0]);
  if (first_part == -1) return at == Text::npos ? txt : txt.substr(at + 1);
  return at == Text::npos ? "" : txt.substr(0, at);
}

int16_t LiteralCount(const Text& txt, const Text& sep) {
  if (txt.empty() || sep.empty()) return 0;
  uint16_t c = 0;
  for (char b : txt) c = static_cast<uint16_t>(c + (b == sep[0]));
  return static_cast<int16_t>(c);
}

// The zero-terminated substring search: both strings end at their first
// zero byte, an empty pattern is found at once.
bool LiteralFindZ(const char* text, const char* pattern) {
  if (*pattern == 0) return true;
  for (; *text != 0; ++text) {
    size_t k = 0;
    while (pattern[k] != 0 && text[k] == pattern[k]) ++k;
    if (pattern[k] == 0) return true;
  }
  return false;
}

// The token test, with each token copied into a token area before it is
// searched for.  The area is made large enough for any token a list of
// 32767 bytes can hold: a longer token is searched for whole.
bool LiteralTokens(const Text& txt, const Text& tokens, char s, bool all) {
  if (txt.empty()) return false;
  const auto length = static_cast<int16_t>(static_cast<uint16_t>(tokens.size() & 0xFFFF));
  if (length == 0) return false;
  if (length < 0) return all;
  const char* text = txt.c_str();  // ends at its first zero byte
  std::vector<char> area(32768);
  size_t used = 0;
  for (int i = 0; i < length; ++i) {
    const char b = tokens[static_cast<size_t>(i)];
    bool ends = b == s;
    if (!ends) {
      area[used++] = b;
      ends = i == length - 1;
    }
    if (!ends) continue;
    area[used] = 0;
    used = 0;
    if (area[0] == 0) continue;  // an empty token
    const bool occurs = LiteralFindZ(text, area.data());
    if (all && !occurs) return false;
    if (!all && occurs) return true;
  }
  return all;
}

// The bounded comparison: at most count bytes, stopping after a difference
// or after a zero byte both share.
int LiteralCompareZ(const uint8_t* a, const uint8_t* b, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    if (a[i] == 0) return 0;
  }
  return 0;
}

uint8_t Lower(uint8_t b) { return b >= 'A' && b <= 'Z' ? static_cast<uint8_t>(b + 0x20) : b; }

// Search and replace as its steps tell it.  The output is built whole and
// measured at the end: a result longer than six bytes per byte of text,
// less one, gives the copy of the text.  The pattern area grows with a
// search string longer than 255 bytes, which is compared whole.
Text LiteralStringSAR(const Text& txt, const Text& find, const Text& replace, int32_t slot) {
  const size_t n = txt.size();
  if (n == 0) return "";
  const size_t f = find.size();
  if (f == 0) return txt;
  const auto match_case = static_cast<int16_t>(static_cast<uint16_t>(slot & 0xFFFF));

  std::vector<uint8_t> copy(txt.begin(), txt.end());
  std::vector<uint8_t> pattern(std::max<size_t>(256, f + 1), 0);
  for (size_t i = 0; i < f && find[i] != 0; ++i) pattern[i] = static_cast<uint8_t>(find[i]);
  if (match_case == 0) {
    for (size_t i = 0; i < n && copy[i] != 0; ++i) copy[i] = Lower(copy[i]);
    for (size_t i = 0; pattern[i] != 0; ++i) pattern[i] = Lower(pattern[i]);
  }

  std::vector<uint8_t> out;
  if (f == 1 && replace.size() == 1) {
    for (size_t i = 0; i < n; ++i) {
      out.push_back(copy[i] == pattern[0] ? static_cast<uint8_t>(replace[0])
                                          : static_cast<uint8_t>(txt[i]));
    }
  } else {
    const Text inserted = replace.substr(0, replace.find('\0'));
    size_t p = 0;
    while (p < n) {
      if (p + f <= n && LiteralCompareZ(&copy[p], pattern.data(), f) == 0) {
        out.insert(out.end(), inserted.begin(), inserted.end());
        p += f;
      } else {
        if (txt[p] != 0) out.push_back(static_cast<uint8_t>(txt[p]));
        ++p;
      }
    }
  }
  const auto zero = std::find(out.begin(), out.end(), 0);
  const Text result(out.begin(), zero);
  return result.size() > 6 * n - 1 ? txt : result;
}

// --- Random inputs --------------------------------------------------------

class Draw {
 public:
  explicit Draw(uint32_t seed) : gen_(seed) {}

  size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(gen_); }
  bool OneIn(size_t n) { return Below(n) == 0; }

  // Bytes either from a small alphabet (so that separators, matches and
  // case pairs are frequent) or from every byte value.
  Text Bytes(size_t max_length, std::string_view alphabet) {
    const size_t length = Below(max_length + 1);
    const bool any_byte = OneIn(4);
    Text out;
    for (size_t i = 0; i < length; ++i) {
      out.push_back(any_byte ? static_cast<char>(Below(256)) : alphabet[Below(alphabet.size())]);
    }
    return out;
  }

  int32_t Index(size_t text_length) {
    switch (Below(8)) {
      case 0: return static_cast<int32_t>(gen_());  // any Long
      case 1: return INT32_MAX;
      case 2: return static_cast<int32_t>(-static_cast<int32_t>(Below(3)));
      default: return static_cast<int32_t>(Below(text_length + 3));
    }
  }

 private:
  std::mt19937 gen_;
};

constexpr std::string_view kFieldAlphabet("ab|,;\0\xFF"sv);

TEST(FieldsReference, SeparatorFieldsMatchTheScan) {
  Draw draw(20240611);
  for (int round = 0; round < 20000; ++round) {
    const Text txt = draw.Bytes(24, kFieldAlphabet);
    const Text sep = draw.Bytes(2, kFieldAlphabet);
    const int32_t index = draw.Index(txt.size());
    const int32_t first = draw.OneIn(2) ? -1 : draw.Index(2);
    SCOPED_TRACE(testing::Message() << "round " << round);
    ASSERT_EQ(GetIn(txt, sep, index), LiteralGetIn(txt, sep, index));
    ASSERT_EQ(GetInR(txt, sep, index), LiteralGetInR(txt, sep, index));
    ASSERT_EQ(GetInPart(txt, sep, first), LiteralGetInPart(txt, sep, first));
    ASSERT_EQ(GetInPartR(txt, sep, first), LiteralGetInPartR(txt, sep, first));
    ASSERT_EQ(Count(txt, sep), LiteralCount(txt, sep));
    ASSERT_EQ(Get(txt, index), LiteralGetIn(txt, "|", index));
  }
}

TEST(FieldsReference, DefaultSeparatorOfEveryByteValue) {
  Draw draw(77);
  for (int value = 0; value < 256; ++value) {
    const Text sep(1, static_cast<char>(value));
    Arg set(sep + "tail");
    cSetDefaultSeparator(set.ref());
    for (int round = 0; round < 40; ++round) {
      Text txt = draw.Bytes(16, kFieldAlphabet);
      if (!txt.empty()) txt[draw.Below(txt.size())] = sep[0];
      const int32_t index = draw.Index(txt.size());
      ASSERT_EQ(Get(txt, index), LiteralGetIn(txt, sep, index)) << "separator " << value;
      ASSERT_EQ(GetIn(txt, sep, index), LiteralGetIn(txt, sep, index)) << "separator " << value;
    }
  }
  Arg bar("|");
  cSetDefaultSeparator(bar.ref());
}

TEST(FieldsReference, TokenInMatchesTheOrderedSetScan) {
  Draw draw(4242);
  for (int round = 0; round < 20000; ++round) {
    const Text txt = draw.Bytes(24, kFieldAlphabet);
    const Text seps = draw.Bytes(5, kFieldAlphabet);
    const int32_t index = draw.Index(txt.size());
    ASSERT_EQ(TokenIn(txt, seps, index), LiteralTokenIn(txt, seps, index)) << "round " << round;
  }
}

TEST(FieldsReference, TokenTestsMatchTheTokenAreaWalk) {
  Draw draw(99);
  constexpr std::string_view kText("abcAB\0|;"sv);
  constexpr std::string_view kList("abcA|;\0"sv);
  for (int round = 0; round < 40000; ++round) {
    const Text txt = draw.Bytes(20, kText);
    const Text tokens = draw.Bytes(14, kList);
    const Text sep = draw.Bytes(2, kList);
    const char list_sep = sep.empty() ? '|' : sep[0];
    Arg t(txt), k(tokens), s(sep);
    SCOPED_TRACE(testing::Message() << "round " << round);
    ASSERT_EQ(cOrToken(t.value(), k.value()), LiteralTokens(txt, tokens, '|', false) ? -1 : 0);
    ASSERT_EQ(cAndToken(t.value(), k.value()), LiteralTokens(txt, tokens, '|', true) ? -1 : 0);
    ASSERT_EQ(cOrTokenIn(t.value(), k.value(), s.value()),
              LiteralTokens(txt, tokens, list_sep, false) ? -1 : 0);
    ASSERT_EQ(cAndTokenIn(t.value(), k.value(), s.value()),
              LiteralTokens(txt, tokens, list_sep, true) ? -1 : 0);
  }
}

// Long periodic texts and tokens, where a search that skips too far or
// too little goes wrong, and tokens longer than any fixed token area.
TEST(FieldsReference, TokenTestsOnLongPeriodicInputs) {
  Draw draw(31337);
  for (int round = 0; round < 400; ++round) {
    const Text unit = draw.Bytes(4, "ab") + "a";
    Text txt;
    while (txt.size() < 3000 + draw.Below(3000)) txt += draw.OneIn(40) ? Text("b") : unit;
    Text tokens;
    for (int k = 0; k < 3; ++k) {
      const size_t start = draw.Below(txt.size());
      Text token = txt.substr(start, draw.Below(2800));
      if (!token.empty() && draw.OneIn(2)) token[draw.Below(token.size())] ^= 3;
      tokens += token + "|";
    }
    Arg t(txt), k(tokens);
    ASSERT_EQ(cOrToken(t.value(), k.value()), LiteralTokens(txt, tokens, '|', false) ? -1 : 0);
    ASSERT_EQ(cAndToken(t.value(), k.value()), LiteralTokens(txt, tokens, '|', true) ? -1 : 0);
  }
}

TEST(FieldsReference, StringSARMatchesTheSteps) {
  Draw draw(8675309);
  constexpr std::string_view kAlphabet("aAbB\0\xC1z"sv);
  const int32_t modes[] = {0, -1, 1, 0x10000, 0x1FFFF, 0x7FFF0000};
  for (int round = 0; round < 60000; ++round) {
    const Text txt = draw.Bytes(20, kAlphabet);
    Text find = draw.Bytes(draw.OneIn(3) ? 1 : 4, kAlphabet);
    if (!txt.empty() && draw.OneIn(4)) {
      find = txt.substr(draw.Below(txt.size()), 1 + draw.Below(4));  // one that occurs
    }
    const Text replace = draw.Bytes(draw.OneIn(3) ? 1 : 8, kAlphabet);
    const int32_t mode = draw.OneIn(6) ? static_cast<int32_t>(draw.Below(1u << 31))
                                       : modes[draw.Below(std::size(modes))];
    ASSERT_EQ(StringSAR(txt, find, replace, mode), LiteralStringSAR(txt, find, replace, mode))
        << "round " << round;
  }
}

// Search strings longer than the 255 bytes of a pattern area, periodic
// texts, and replacements that overflow the output area.
TEST(FieldsReference, StringSARLongSearchStringsAndFullOutput) {
  Draw draw(2718);
  for (int round = 0; round < 3000; ++round) {
    const Text unit = draw.Bytes(3, "aAb") + "a";
    Text txt;
    while (txt.size() < 200 + draw.Below(1200)) {
      txt += draw.OneIn(30) ? Text(1, draw.OneIn(2) ? '\0' : 'B') : unit;
    }
    Text find = txt.substr(draw.Below(txt.size()), 1 + draw.Below(600));
    if (draw.OneIn(3)) find[draw.Below(find.size())] ^= 0x20;  // a case flip
    const Text replace = draw.OneIn(4) ? Text(draw.Below(12 * find.size() + 2), 'R')
                                       : draw.Bytes(6, "xy\0"sv);
    const int32_t mode = draw.OneIn(2) ? 0 : -1;
    ASSERT_EQ(StringSAR(txt, find, replace, mode), LiteralStringSAR(txt, find, replace, mode))
        << "round " << round << " find length " << find.size();
  }
}

// A zero byte anywhere in the search string, against texts full of zero
// bytes.
TEST(FieldsReference, StringSARSearchStringsWithZeroBytes) {
  Draw draw(1618);
  constexpr std::string_view kAlphabet("a\0A\0b"sv);
  for (int round = 0; round < 40000; ++round) {
    const Text txt = draw.Bytes(16, kAlphabet);
    Text find = draw.Bytes(5, kAlphabet);
    if (find.empty()) find = "a";
    find[draw.Below(find.size())] = '\0';
    const Text replace = draw.Bytes(3, "xy\0"sv);
    const int32_t mode = draw.OneIn(2) ? 0 : -1;
    ASSERT_EQ(StringSAR(txt, find, replace, mode), LiteralStringSAR(txt, find, replace, mode))
        << "round " << round;
  }
}

// While one thread changes the default separator, cGet in another sees
// the old or the new byte at each byte it reads, never anything else.
TEST(FieldsReference, DefaultSeparatorChangedDuringCalls) {
  std::atomic<bool> stop{false};
  std::thread writer([&stop] {
    Arg comma(","), semicolon(";");
    for (unsigned i = 0; !stop.load(); ++i) cSetDefaultSeparator(i % 2 ? comma.ref() : semicolon.ref());
  });
  const Text seen_ok[] = {"b;c", "c", "b", ""};
  for (int round = 0; round < 20000; ++round) {
    const Text got = Get("a,b;c", 2);
    ASSERT_NE(std::find(std::begin(seen_ok), std::end(seen_ok), got), std::end(seen_ok)) << got;
  }
  stop = true;
  writer.join();
  Arg bar("|");
  cSetDefaultSeparator(bar.ref());
  EXPECT_EQ(Get("a,b|c", 2), "c");
}

}  // namespace
