// The matchers against a literal, recursive reading of their definitions,
// on every short pattern and text over small alphabets and on millions of
// random ones drawn from the pattern language's own bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "patterns/ext_match.h"
#include "patterns/plain_match.h"

namespace {

// ---------------------------------------------------------------------------
// The reference: step by step as the algorithms are defined, recursion and
// all, over zero-terminated strings.  Only for short inputs.

using Z = const unsigned char*;

namespace ref {

bool Plain(Z t, Z p) {
  if (*p == 0) return *t == 0;
  if (*p == '*') {
    if (p[1] == 0) return true;
    const unsigned char k = p[1];
    const size_t n = std::strlen(reinterpret_cast<const char*>(t));
    for (size_t i = 0; i < n; ++i) {
      if ((t[i] == k || k == '?') && Plain(t + i + 1, p + 2)) return true;
    }
    return false;
  }
  if (*t == 0) return false;
  if (*p != '?' && *p != *t) return false;
  return Plain(t + 1, p + 1);
}

constexpr int kBad = 1000;

int HexPair(unsigned char h, unsigned char l) {
  auto d = [](unsigned char x) {
    const int s = static_cast<signed char>(x);
    if (s >= 0x61) return s - 87;
    if (s >= 0x41) return s - 55;
    return s - 48;
  };
  return (16 * d(h) + d(l)) & 0xFF;
}

bool Admits(unsigned char c, int a, int b) {
  const int x = static_cast<signed char>(c);
  const int sa = static_cast<signed char>(a);
  const int sb = static_cast<signed char>(b);
  return (sa <= x && x <= sb) || (sb <= x && x <= sa);
}

// The set at p ("["), against c.  0 when it matched, with p past its "]".
int Set(Z& p, unsigned char c) {
  ++p;
  bool negated = false;
  if (*p == '!' || *p == '^') {
    negated = true;
    ++p;
  }
  if (*p == ']') return kBad;
  bool admitted = false;
  while (*p != ']') {
    if (*p == 0) return kBad;
    int first;
    if (*p == '\\') {
      if (p[1] == 0) return kBad;
      first = p[1];
      p += 2;
    } else if (*p == '~') {
      if (p[1] == 0 || p[2] == 0) return kBad;
      first = HexPair(p[1], p[2]);
      p += 3;
    } else {
      first = *p;
      p += 1;
    }
    int second = first;
    if (*p == '-') {
      if (p[1] == 0 || p[1] == ']') return kBad;
      ++p;
      if (*p == '\\') {
        ++p;
        if (*p == 0) return kBad;
      }
      if (*p == '~') {
        if (p[1] == 0 || p[2] == 0) return kBad;
        second = HexPair(p[1], p[2]);
        p += 3;
      } else {
        second = *p;
        p += 1;
      }
    }
    if (Admits(c, first, second)) {
      admitted = true;
      break;
    }
  }
  if (!negated && !admitted) return 13;
  if (negated && admitted) return 13;
  if (admitted) {
    while (*p != ']') {
      if (*p == 0) return kBad;
      if (*p == '\\') {
        ++p;
        if (*p == 0) return kBad;
      }
      if (*p == '~') {
        ++p;
        if (*p == 0) return kBad;
        ++p;
        if (*p == 0) return kBad;
      }
      ++p;
    }
  }
  ++p;
  return 0;
}

int Star(Z p, Z t);

int Ext(Z p, Z t) {
  for (;;) {
    if (*p == 0) return *t == 0 ? -1 : 11;
    if (*t == 0) return (p[0] == '*' && p[1] == 0) ? -1 : 12;
    const unsigned char c = *t;
    switch (*p) {
      case '*':
        return Star(p, t);
      case '?':
        p += 1;
        break;
      case '[': {
        const int code = Set(p, c);
        if (code != 0) return code;
        break;
      }
      case '\\':
        if (p[1] == 0) return kBad;
        if (p[1] != c) return 14;
        p += 2;
        break;
      case '~':
        if (p[1] == 0 || p[2] == 0) return kBad;
        if (HexPair(p[1], p[2]) != c) return 17;
        p += 3;
        break;
      default:
        if (*p != c) return 14;
        p += 1;
        break;
    }
    t += 1;
  }
}

int Star(Z p, Z t) {
  while (*p == '*' || *p == '?') {
    if (*p == '?') {
      if (*t == 0) return 12;
      ++t;
    }
    ++p;
  }
  if (*p == 0) return -1;
  unsigned char k = *p;
  if (k == '\\') {
    k = p[1];
    if (k == 0) return kBad;
  }
  bool have_code = false;
  int code = 0;
  for (Z u = t;; ++u) {
    if (*u == k || k == '[' || k == '~') {
      code = Ext(p, u);
      have_code = true;
    }
    if (*u == 0) {
      code = 12;
      have_code = true;
    }
    if (have_code && (code == -1 || code == 12 || code == kBad)) return code;
  }
}

bool IsHex(unsigned char b) {
  return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'F') || (b >= 'a' && b <= 'f');
}

int Check(Z p) {
  for (;;) {
    if (*p == 0) return 0;
    if (*p == '[') {
      if (p[1] == ']') return 5;
      if (p[1] == 0) return 4;
      ++p;
      for (;;) {
        // Literally the scan would step over the terminator here (possible
        // only right after a range); the library reads it as an unclosed set.
        if (*p == 0) return 4;
        if (*p == ']') {
          ++p;
          break;
        }
        if (*p == '\\') {
          ++p;
          if (*p == 0) return 2;
          ++p;
        } else {
          ++p;
        }
        if (*p == 0) return 4;
        if (*p != '-') continue;
        ++p;
        if (*p == 0 || *p == ']') return 3;
        if (*p == '\\') {
          ++p;
          if (*p == 0) return 2;
        }
        ++p;
      }
    } else if (*p == '\\') {
      if (p[1] == 0) return 2;
      p += 2;
    } else if (*p == '~') {
      if (!IsHex(p[1])) return 7;
      if (!IsHex(p[2])) return 7;
      p += 3;
    } else {
      ++p;
    }
  }
}

int ExtMatch(Z txt, Z pattern) {
  bool wild = false;
  for (Z q = pattern; *q != 0; ++q) {
    if (*q == '*' || *q == '?' || *q == '[' || *q == '\\') wild = true;
  }
  if (!wild) return 1;
  const int code = Ext(pattern, txt);
  return code == kBad ? Check(pattern) : code;
}

}  // namespace ref

// ---------------------------------------------------------------------------

twinekit::Bytes AsBytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

Z AsZ(const std::string& s) { return reinterpret_cast<Z>(s.c_str()); }

std::string Show(const std::string& s) {
  std::string out = "'";
  for (unsigned char c : s) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      static const char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out + "'";
}

// Compares both matchers with the reference on one pair and tallies the
// extended codes seen.  Returns false (after one failure report) on a
// difference.
class Comparer {
 public:
  bool Compare(const std::string& pattern, const std::string& txt) {
    const bool plain = twinekit::patterns::PlainMatch(AsBytes(txt), AsBytes(pattern));
    const bool plain_ref = ref::Plain(AsZ(txt), AsZ(pattern));
    const int32_t ext = twinekit::patterns::PatternExtMatch(AsBytes(txt), AsBytes(pattern));
    const int ext_ref = ref::ExtMatch(AsZ(txt), AsZ(pattern));
    ++seen_[ext_ref];
    plain_matches_ += plain_ref ? 1 : 0;
    ++pairs_;
    if (plain == plain_ref && ext == ext_ref) return true;
    ADD_FAILURE() << "pattern " << Show(pattern) << " text " << Show(txt) << ": plain " << plain
                  << " (want " << plain_ref << "), extended " << ext << " (want " << ext_ref << ")";
    return false;
  }

  // Every code the extended form can give came up at least `times` times,
  // and the plain form matched now and then.
  void ExpectVariety(int64_t times) const {
    for (int code : {-1, 1, 11, 12, 13, 14, 17, 0, 2, 3, 4, 5, 7}) {
      const auto it = seen_.find(code);
      EXPECT_GE(it == seen_.end() ? 0 : it->second, times) << "code " << code;
    }
    EXPECT_GE(plain_matches_, times);
  }

  int64_t pairs() const { return pairs_; }

 private:
  std::map<int, int64_t> seen_;
  int64_t plain_matches_ = 0;
  int64_t pairs_ = 0;
};

#if defined(__SANITIZE_ADDRESS__)
constexpr int kScale = 4;  // sanitized code runs several times slower
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int kScale = 4;
#else
constexpr int kScale = 1;
#endif
#else
constexpr int kScale = 1;
#endif

// Calls visit(s) for every string over `alphabet` of length 0 to max_len.
template <typename Visit>
bool ForEachString(const std::string& alphabet, size_t max_len, Visit visit) {
  std::string s;
  std::vector<size_t> digits;
  for (size_t len = 0; len <= max_len; ++len) {
    digits.assign(len, 0);
    s.assign(len, alphabet[0]);
    for (;;) {
      if (!visit(s)) return false;
      size_t i = 0;
      while (i < len && ++digits[i] == alphabet.size()) {
        digits[i] = 0;
        s[i] = alphabet[0];
        ++i;
      }
      if (i == len) break;
      s[i] = alphabet[digits[i]];
    }
  }
  return true;
}

TEST(PatternsReference, EveryShortPlainPattern) {
  const std::vector<std::string> texts = [] {
    std::vector<std::string> all;
    ForEachString("ab*", 6, [&](const std::string& s) {
      all.push_back(s);
      return true;
    });
    return all;
  }();
  Comparer comparer;
  ForEachString("*?ab", kScale == 1 ? 6 : 4, [&](const std::string& pattern) {
    for (const std::string& txt : texts) {
      if (!comparer.Compare(pattern, txt)) return false;
    }
    return true;
  });
  EXPECT_GT(comparer.pairs(), 100000);
}

TEST(PatternsReference, EveryShortExtendedPattern) {
  const std::vector<std::string> texts = [] {
    std::vector<std::string> all;
    ForEachString("aA-", 3, [&](const std::string& s) {
      all.push_back(s);
      return true;
    });
    return all;
  }();
  Comparer comparer;
  ForEachString("*?[]!-\\~a41", kScale == 1 ? 5 : 4, [&](const std::string& pattern) {
    for (const std::string& txt : texts) {
      if (!comparer.Compare(pattern, txt)) return false;
    }
    return true;
  });
  EXPECT_GT(comparer.pairs(), 100000);
}

// Random patterns and texts.  Patterns mix the language's own bytes with
// hex digits, letters, a zero byte and high bytes; texts come from similar
// bytes, or from the pattern itself, so that matches and near-misses are
// common.
class RandomPairs {
 public:
  explicit RandomPairs(uint32_t seed) : rng_(seed) {}

  std::string Pattern() {
    static const std::string kBytes =
        std::string("*?[]!^-\\~0123456789ABCDEFabcdefxyz") + std::string("\0\x80\xE9\xFF", 4);
    static const std::string kCommon = "**??[[]]-\\~ab";
    std::string s(Below(13), ' ');
    for (char& c : s) c = Below(3) == 0 ? Pick(kBytes) : Pick(kCommon);
    return s;
  }

  // Whole elements, well and badly formed, in random order.
  std::string PatternOfElements() {
    static const char* const kElements[] = {
        "*",        "**",    "*?",     "?",     "a",     "b",         "x",         "-",
        "]",        "!",     "\\",     "\\*",   "\\a",   "\\~",       "\\[",       "~41",
        "~62",      "~ZZ",   "~4",     "~",     "[",     "[a]",       "[!a]",      "[^b]",
        "[a-c]",    "[z-a]", "[a\\~]", "[\\]]", "[~5D]", "[a-\\~62]", "[-a]",      "[a-b-c]",
        "[]",       "[!]",   "[a-",    "[a-]",  "\xE9",  "[a-\xE9]",  "[~41-~5A]", "[!~]",
        "[a\\~]a]", "[a~]]", "[*]",    "[?-b]", "\\",    "~~~",       "[\\-]",     "[a-b",
    };
    std::string s;
    for (uint32_t n = Below(7); n > 0; --n) s += kElements[Below(std::size(kElements))];
    return s;
  }

  std::string Text(const std::string& pattern) {
    static const std::string kBytes =
        std::string("abcxyzABS-]~*?\\[!^1") + std::string("\0\x80\xE9\xFF", 4);
    std::string s;
    if (Below(2) == 0) {
      s.assign(Below(13), ' ');
      for (char& c : s) c = Pick(kBytes);
    } else {
      // The pattern's own bytes, some dropped, some changed, some repeated.
      for (char c : pattern) {
        const uint32_t roll = Below(10);
        if (roll == 0) continue;
        if (roll == 1) c = Pick(kBytes);
        s += c;
        if (roll == 2) s += Pick(kBytes);
      }
    }
    return s;
  }

 private:
  uint32_t Below(uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(rng_); }
  char Pick(const std::string& from) { return from[Below(static_cast<uint32_t>(from.size()))]; }

  std::mt19937 rng_;
};

TEST(PatternsReference, MillionsOfRandomPairs) {
  RandomPairs random(20240611);
  Comparer comparer;
  const int64_t rounds = 3000000 / kScale;
  for (int64_t i = 0; i < rounds; ++i) {
    const std::string pattern = random.Pattern();
    const std::string txt = random.Text(pattern);
    if (!comparer.Compare(pattern, txt)) break;
  }
  comparer.ExpectVariety(kScale == 1 ? 100 : 5);
}

TEST(PatternsReference, MillionsOfRandomElementSequences) {
  RandomPairs random(77);
  Comparer comparer;
  const int64_t rounds = 2000000 / kScale;
  for (int64_t i = 0; i < rounds; ++i) {
    const std::string pattern = random.PatternOfElements();
    const std::string txt = random.Text(pattern);
    if (!comparer.Compare(pattern, txt)) break;
  }
  comparer.ExpectVariety(kScale == 1 ? 100 : 5);
}

}  // namespace
