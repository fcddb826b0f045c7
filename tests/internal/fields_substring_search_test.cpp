// The two-way searcher and the window search of short texts against a
// plain search, on needles and haystacks over
// tiny alphabets (where periods, repeats and near-misses abound) and over
// every byte value, from every start.  The search-and-replace comparison
// adds long periodic texts and needles.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "fields/substring_search.h"

namespace {

using twinekit::fields::SubstringSearcher;

twinekit::Bytes View(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

// The first place at or after from where the needle, its A-Z lowered when
// asked, occurs in hay; an empty needle occurs at from.
size_t PlainFind(const std::string& hay, std::string needle, size_t from, bool lower) {
  for (char& c : needle) c = static_cast<char>(lower && c >= 'A' && c <= 'Z' ? c + 0x20 : c);
  const size_t at = from > hay.size() ? std::string::npos : hay.find(needle, from);
  return at == std::string::npos ? SubstringSearcher::kNotFound : at;
}

std::string Random(std::mt19937& gen, size_t length, int alphabet) {
  std::string out;
  for (size_t i = 0; i < length; ++i) {
    const auto v = static_cast<int>(gen() % static_cast<uint32_t>(alphabet));
    out.push_back(alphabet == 256 ? static_cast<char>(v) : "aAbB"[v]);
  }
  return out;
}

TEST(FieldsSubstringSearch, AgreesWithThePlainSearchFromEveryStart) {
  std::mt19937 gen(5150);
  for (int round = 0; round < 20000; ++round) {
    const int alphabet = round % 5 == 4 ? 256 : 1 + round % 4;
    const std::string hay = Random(gen, gen() % 40, alphabet);
    std::string needle = Random(gen, gen() % 9, alphabet);
    if (!hay.empty() && gen() % 2) needle = hay.substr(gen() % hay.size(), gen() % 12);
    const bool lower = gen() % 2;
    const SubstringSearcher searcher(View(needle), lower);
    for (size_t from = 0; from <= hay.size() + 1; ++from) {
      const size_t expected = PlainFind(hay, needle, from, lower);
      ASSERT_EQ(searcher.Find(View(hay), from), expected)
          << "round " << round << " needle '" << needle << "' hay '" << hay << "' from " << from;
      ASSERT_EQ(twinekit::fields::FindInShortText(View(hay), from, View(needle), lower), expected)
          << "round " << round << " needle '" << needle << "' hay '" << hay << "' from " << from;
    }
  }
}

}  // namespace
