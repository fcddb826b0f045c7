// The two-way searcher against a plain position-by-position search, on
// needles and haystacks over tiny alphabets (where periods, repeats and
// near-misses abound) and over every byte value, from every start.  The
// exports' own comparisons add long periodic texts and needles.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "fields/substring_search.h"
#include "frame/chars.h"

namespace {

using twinekit::Bytes;
using twinekit::fields::SubstringSearcher;

Bytes View(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

size_t PlainFind(const std::string& hay, const std::string& needle, size_t from, bool lower) {
  for (size_t p = from; p + needle.size() <= hay.size(); ++p) {
    size_t k = 0;
    while (k < needle.size() &&
           static_cast<uint8_t>(hay[p + k]) ==
               (lower ? twinekit::ToLower(static_cast<uint8_t>(needle[k]))
                      : static_cast<uint8_t>(needle[k]))) {
      ++k;
    }
    if (k == needle.size()) return p;
  }
  return SubstringSearcher::kNotFound;
}

std::string Random(std::mt19937& gen, size_t length, int alphabet) {
  std::string out;
  for (size_t i = 0; i < length; ++i) {
    const auto v = static_cast<int>(gen() % static_cast<uint32_t>(alphabet));
    out.push_back(alphabet == 256 ? static_cast<char>(v) : static_cast<char>("aAbB"[v]));
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
      const size_t want = from > hay.size() ? SubstringSearcher::kNotFound
                          : needle.empty()  ? from
                                            : PlainFind(hay, needle, from, lower);
      ASSERT_EQ(searcher.Find(View(hay), from), want)
          << "round " << round << " needle '" << needle << "' hay '" << hay << "' from " << from;
    }
  }
}

}  // namespace
