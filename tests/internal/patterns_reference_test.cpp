// The matchers against a literal, recursive reading of their definitions,
// on every short pattern and text over small alphabets of the pattern
// language's bytes, and on random ones with hex digits, high and zero bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "patterns/match.h"

namespace {

using Z = const unsigned char*;

// The reference, step by step and recursion and all, over zero-terminated
// strings.  Only for short inputs.
namespace ref {

bool Plain(Z t, Z p) {
  if (*p == 0) return *t == 0;
  if (*p == '*') {
    if (p[1] == 0) return true;
    for (Z u = t; *u != 0; ++u) {
      if ((*u == p[1] || p[1] == '?') && Plain(u + 1, p + 2)) return true;
    }
    return false;
  }
  if (*t == 0 || (*p != '?' && *p != *t)) return false;
  return Plain(t + 1, p + 1);
}

constexpr int kBad = 1000;

int Signed(int b) { return static_cast<signed char>(b); }
int Digit(int x) {
  const int s = Signed(x);
  return s >= 'a' ? s - 87 : s >= 'A' ? s - 55 : s - 48;
}
int HexPair(Z p) { return (16 * Digit(p[0]) + Digit(p[1])) & 0xFF; }

// A bound at p: "\c", "~hl" or a byte, where a second bound reads "\~hl"
// as a hex pair.  False when the pattern ends inside it.
bool Bound(Z& p, int& value, bool second) {
  if (*p == '\\') {
    if (p[1] == 0) return false;
    ++p;
    if (!second) return value = *p++, true;
  }
  if (*p == '~') {
    if (p[1] == 0 || p[2] == 0) return false;
    value = HexPair(p + 1);
    return p += 3, true;
  }
  return value = *p++, true;
}

// The set at p ("["), against c: 0 when it matched, with p past its "]".
int Set(Z& p, unsigned char c) {
  const bool negated = *++p == '!' || *p == '^';
  if (negated) ++p;
  if (*p == ']') return kBad;
  bool admitted = false;
  while (!admitted && *p != ']') {
    int lo = 0;
    if (*p == 0 || !Bound(p, lo, false)) return kBad;
    int hi = lo;
    if (*p == '-' && (p[1] == 0 || p[1] == ']' || !Bound(++p, hi, true))) return kBad;
    admitted = std::min(Signed(lo), Signed(hi)) <= Signed(c) &&
               Signed(c) <= std::max(Signed(lo), Signed(hi));
  }
  if (admitted == negated) return 13;
  while (*p != ']') {
    if (*p == 0) return kBad;
    if (*p == '\\' && *++p == 0) return kBad;
    if (*p == '~' && (*++p == 0 || *++p == 0)) return kBad;
    ++p;
  }
  ++p;
  return 0;
}

int Star(Z p, Z t);

int Ext(Z p, Z t) {
  for (;; ++t) {
    if (*p == 0) return *t == 0 ? -1 : 11;
    if (*t == 0) return (p[0] == '*' && p[1] == 0) ? -1 : 12;
    if (*p == '*') return Star(p, t);
    if (*p == '?') {
      ++p;
    } else if (*p == '[') {
      if (const int code = Set(p, *t)) return code;
    } else if (*p == '\\') {
      if (p[1] == 0) return kBad;
      if (p[1] != *t) return 14;
      p += 2;
    } else if (*p == '~') {
      if (p[1] == 0 || p[2] == 0) return kBad;
      if (HexPair(p + 1) != *t) return 17;
      p += 3;
    } else if (*p++ != *t) {
      return 14;
    }
  }
}

int Star(Z p, Z t) {
  for (; *p == '*' || *p == '?'; ++p) {
    if (*p == '?' && *t++ == 0) return 12;
  }
  if (*p == 0) return -1;
  const unsigned char k = *p == '\\' ? p[1] : *p;
  if (k == 0) return kBad;
  int code = 0;  // none yet
  for (Z u = t;; ++u) {
    if (*u == k || k == '[' || k == '~') code = Ext(p, u);
    if (*u == 0) code = 12;
    if (code == -1 || code == 12 || code == kBad) return code;
  }
}

bool IsHex(unsigned char b) { return b != 0 && std::strchr("0123456789ABCDEFabcdef", b); }

int Check(Z p) {
  while (*p != 0) {
    if (*p == '[') {
      if (p[1] == ']') return 5;
      if (p[1] == 0) return 4;
      for (++p; *p != ']';) {
        // The end can be met here only right after a range; the library
        // reads it as a set never closed rather than step over it.
        if (*p == 0) return 4;
        if (*p == '\\' && *++p == 0) return 2;
        if (*++p == 0) return 4;
        if (*p != '-') continue;
        if (*++p == 0 || *p == ']') return 3;
        if (*p == '\\' && *++p == 0) return 2;
        ++p;
      }
      ++p;
    } else if (*p == '\\') {
      if (p[1] == 0) return 2;
      p += 2;
    } else if (*p == '~') {
      if (!IsHex(p[1]) || !IsHex(p[2])) return 7;
      p += 3;
    } else {
      ++p;
    }
  }
  return 0;
}

int ExtMatch(Z txt, Z pattern) {
  if (!std::strpbrk(reinterpret_cast<const char*>(pattern), "*?[\\")) return 1;
  const int code = Ext(pattern, txt);
  return code == kBad ? Check(pattern) : code;
}

}  // namespace ref

// Both matchers against the reference on one pair; false, after one
// failure report, on a difference.
bool Same(const std::string& pattern, const std::string& txt) {
  const Z tz = reinterpret_cast<Z>(txt.c_str()), pz = reinterpret_cast<Z>(pattern.c_str());
  const twinekit::Bytes t{tz, txt.size()}, p{pz, pattern.size()};
  const bool plain = twinekit::patterns::PlainMatch(t, p), plain_ref = ref::Plain(tz, pz);
  const int ext = twinekit::patterns::PatternExtMatch(t, p), ext_ref = ref::ExtMatch(tz, pz);
  if (plain == plain_ref && ext == ext_ref) return true;
  ADD_FAILURE() << "pattern '" << pattern << "' text '" << txt << "': plain " << plain << " (want "
                << plain_ref << "), extended " << ext << " (want " << ext_ref << ")";
  return false;
}

// Every string over `alphabet` of length 0 to max_len.
std::vector<std::string> AllStrings(const std::string& alphabet, size_t max_len) {
  std::vector<std::string> all{""};
  for (size_t i = 0; all[i].size() < max_len; ++i) {
    for (char c : alphabet) all.push_back(all[i] + c);
  }
  return all;
}

void CompareAll(const std::string& pattern_bytes, size_t pattern_len, const std::string& text_bytes,
                size_t text_len) {
  const std::vector<std::string> texts = AllStrings(text_bytes, text_len);
  for (const std::string& pattern : AllStrings(pattern_bytes, pattern_len)) {
    for (const std::string& txt : texts) {
      if (!Same(pattern, txt)) return;
    }
  }
}

#ifdef __SANITIZE_ADDRESS__
constexpr size_t kLonger = 0;  // sanitized code runs many times slower
#else
constexpr size_t kLonger = 1;
#endif

TEST(PatternsReference, EveryShortPattern) {
  CompareAll("*?ab", 5 + kLonger, "ab*", 5);
  CompareAll("*?[]!-\\~a41", 4 + kLonger, "aA-", 3);
}

// Texts are the pattern's own bytes, some dropped, changed or followed by
// another, so that matches and near misses are common.
TEST(PatternsReference, RandomPairs) {
  const std::string bytes =
      std::string("**??[[]]!^--\\\\~~0123456789ABCDEFabcdefxyz") + std::string("\0\x80\xE9\xFF", 4);
  std::mt19937 rng(20240611);
  auto any = [&] { return bytes[rng() % bytes.size()]; };
  for (int round = 0; round < 300000; ++round) {
    std::string pattern(rng() % 13, ' '), txt;
    for (char& c : pattern) c = any();
    for (char c : pattern) {
      const unsigned roll = rng() % 8;
      if (roll > 0) txt += roll == 1 ? any() : c;
      if (roll == 2) txt += any();
    }
    if (!Same(pattern, txt)) break;
  }
}

}  // namespace
