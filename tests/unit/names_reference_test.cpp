// The full name capitalisation against a step-by-step transcription of its
// definition, on many random texts, exception lists and option slots built
// from the bytes whose interplay matters: letters of both cases, blanks,
// the markers "?" and "!", punctuation, "/", zero bytes and 0x80-0xFF.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "cases/outcome.h"
#include "frame/platform.h"
#include "twinekit.h"
#include "twinekit_test_hooks.h"

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c; }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 0x20) : c; }
bool Punct(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 0x21 && u <= 0x2F) || (u >= 0x3A && u <= 0x40) || (u >= 0x5B && u <= 0x60) ||
         (u >= 0x7B && u <= 0x7E);
}

// The words of a list: runs of bytes other than "/", empty ones dropped.
std::vector<std::string> SplitWords(const std::string& list) {
  std::vector<std::string> words;
  std::string word;
  for (char c : list) {
    if (c == '/') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

// Overwrites each found occurrence of pattern's word with mark, searching
// the working copy up to its first zero byte.
void MarkAll(std::string& w, const std::string& word, bool trailing_blank, char mark) {
  const std::string pattern = " " + word + (trailing_blank ? " " : "");
  size_t start = 0;
  for (;;) {
    const std::string searched = w.substr(0, w.find('\0'));
    const size_t at = searched.find(pattern, start);
    if (at == std::string::npos) return;
    for (size_t j = 0; j < word.size(); ++j) w[at + 1 + j] = mark;
    start = at + 1 + word.size() + (trailing_blank ? 1 : 0);
  }
}

// The definition, step by step.  A word longer than 253 bytes is skipped.
std::string Transcription(const std::string& t, const std::string* exceptions, int32_t slot) {
  const auto options = static_cast<uint16_t>(slot & 0xFFFF);
  const size_t n = t.size();
  if (n == 0) return "";
  std::string w = " " + t + '\0';
  if (options & 1) {
    for (size_t p = 1; p <= n; ++p) w[p] = Lower(w[p]);
  }
  if (exceptions != nullptr && !exceptions->empty()) {
    std::string list = exceptions->substr(0, exceptions->find('\0'));
    for (char& c : list) c = Lower(c);
    const std::vector<std::string> words = SplitWords(list);
    for (const std::string& word : words) {
      if (word.size() <= 253) MarkAll(w, word, true, '?');
    }
    if (options & 8) {
      for (const std::string& word : words) {
        if (word.size() <= 253) MarkAll(w, word, false, '!');
      }
    }
  }
  for (size_t p = 1; p <= n; ++p) {
    const char prev = w[p - 1];
    if (prev == ' ' || ((options & 2) && Punct(prev))) {
      w[p] = Upper(w[p]);
    } else {
      w[p] = Lower(w[p]);
    }
  }
  size_t i = 0;
  while (i < n) {
    size_t current = i + 1;
    if (w[current] == '?') {
      size_t j = current;
      for (;;) {
        w[j] = (options & 4) ? t[j - 1] : Lower(t[j - 1]);
        if (w[j + 1] != '?') break;
        ++j;
      }
      current = j;
    }
    if (w[current] == '!') {
      size_t j = current;
      w[j] = Upper(t[j - 1]);
      while (w[j + 1] == '!') {
        ++j;
        w[j] = Lower(t[j - 1]);
      }
      current = j;
      if (j + 1 <= n) {
        current = j + 1;
        w[current] = Upper(t[current - 1]);
      }
    }
    i = current;
  }
  return w.substr(1, n);
}

std::string CallExport(const std::string& txt, const std::string* exceptions, int32_t slot) {
  BSTR t = SysAllocStringByteLen(txt.data(), static_cast<UINT>(txt.size()));
  BSTR e = exceptions == nullptr
               ? nullptr
               : SysAllocStringByteLen(exceptions->data(), static_cast<UINT>(exceptions->size()));
  BSTR r = cProperName2(&t, e, slot);
  EXPECT_NE(r, nullptr);
  std::string out;
  if (r != nullptr) out.assign(reinterpret_cast<const char*>(r), SysStringByteLen(r));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(t), SysStringByteLen(t)), txt);
  SysFreeString(r);
  SysFreeString(e);
  SysFreeString(t);
  return out;
}

class Generator {
 public:
  explicit Generator(uint32_t seed) : rng_(seed) {}

  size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }

  // Letters dominate, so that words recur; blanks separate them.
  char TextByte() {
    static constexpr std::string_view kBytes =
        "aaddeeADDEbmcMC     ?!?!'-.()/\xE9\xC9\xFF\t";
    if (Below(40) == 0) return '\0';
    return kBytes[Below(kBytes.size())];
  }

  std::string Text() {
    std::string t;
    const size_t n = Below(28);
    for (size_t i = 0; i < n; ++i) t += TextByte();
    return t;
  }

  // Words are often pieces of the text itself, so that they are found.
  std::string Word(const std::string& text) {
    if (!text.empty() && Below(2) == 0) {
      const size_t at = Below(text.size());
      std::string piece = text.substr(at, 1 + Below(5));
      for (char& c : piece) {
        if (c == '/' || c == '\0') c = 'd';
      }
      return piece;
    }
    std::string word;
    const size_t k = 1 + Below(4);
    for (size_t i = 0; i < k; ++i) {
      char c = TextByte();
      word += (c == '\0') ? 'e' : c;
    }
    return word;
  }

  std::string List(const std::string& text) {
    std::string list;
    const size_t words = Below(5);
    if (Below(4) == 0) list += '/';
    for (size_t i = 0; i < words; ++i) {
      if (i > 0) list += Below(5) == 0 ? "//" : "/";
      list += Word(text);
    }
    if (Below(4) == 0) list += '/';
    if (Below(8) == 0) list.insert(Below(list.size() + 1), 1, '\0');
    return list;
  }

  int32_t Slot() {
    const auto bits = static_cast<int32_t>(Below(16));
    const auto garbage = static_cast<int32_t>(rng_() & 0xFFFFFFF0u);
    return Below(2) == 0 ? bits : (bits | garbage);
  }

 private:
  std::mt19937 rng_;
};

TEST(NamesReference, RandomTextsListsAndOptions) {
  Generator g(20240611);
  const int64_t bstrs = tk_test_live_bstrs();
  const int64_t scratch = tk_test_live_scratch();
  for (int round = 0; round < 150000; ++round) {
    const std::string text = g.Text();
    const std::string list = g.List(text);
    const bool null_list = g.Below(10) == 0;
    const int32_t slot = g.Slot();
    const std::string* exceptions = null_list ? nullptr : &list;
    const std::string want = Transcription(text, exceptions, slot);
    const std::string seen = CallExport(text, exceptions, slot);
    ASSERT_EQ(tkcases::Escape(seen), tkcases::Escape(want))
        << "text '" << tkcases::Escape(text) << "' list '"
        << (null_list ? "(null)" : tkcases::Escape(list)) << "' options " << slot;
  }
  EXPECT_EQ(tk_test_live_bstrs(), bstrs);
  EXPECT_EQ(tk_test_live_scratch(), scratch);
}

// Long words around the bound of the pattern area, against the same
// transcription.
TEST(NamesReference, WordsAroundTheBound) {
  Generator g(7);
  for (size_t k : {251u, 252u, 253u, 254u, 255u, 300u}) {
    for (int round = 0; round < 200; ++round) {
      std::string word;
      for (size_t i = 0; i < k; ++i) word += g.Below(6) == 0 ? ' ' : "aAdD"[g.Below(4)];
      std::string text = g.Text() + " " + word + (g.Below(2) ? " " : "") + g.Text();
      const std::string list = g.Text() + "/" + word + "/" + g.Word(text);
      const int32_t slot = g.Slot();
      ASSERT_EQ(CallExport(text, &list, slot), Transcription(text, &list, slot))
          << "word of " << k << " bytes, options " << slot;
    }
  }
}

}  // namespace
