// Substring search in time linear in the haystack and the needle, with
// constant extra space and no allocation: the two-way method, which splits
// the needle at a critical factorisation and uses its period to skip.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/bytes.h"

namespace twinekit::fields {

class SubstringSearcher {
 public:
  static constexpr size_t kNotFound = SIZE_MAX;

  // The needle's bytes must outlive the searcher.  With lower_needle the
  // letters A-Z of the needle are read as a-z (the haystack is read as it
  // is), so a caller can search a lowered text without a lowered copy of
  // the needle.
  explicit SubstringSearcher(Bytes needle, bool lower_needle = false);

  // The first place p >= from at which the needle occurs in haystack, or
  // kNotFound.  An empty needle occurs at from (when from <= size).
  size_t Find(Bytes haystack, size_t from) const;

 private:
  uint8_t At(int64_t i) const;
  int64_t MaximalSuffix(bool reversed, int64_t* period) const;
  int64_t SkipToAnchor(const uint8_t* y, int64_t n, int64_t j) const;
  size_t FindPeriodic(const uint8_t* y, int64_t n, int64_t from) const;
  size_t FindAperiodic(const uint8_t* y, int64_t n, int64_t from) const;

  Bytes needle_;
  bool lower_;
  int64_t m_;       // needle length
  int64_t split_;   // the critical position: the left part is needle[0..split_]
  int64_t period_;  // the period of the needle, or a safe shift when aperiodic
  bool periodic_;
  uint8_t anchor_ = 0;  // the first byte of the right part
  int64_t other_at_ = 0;  // the place of a second byte tested with the anchor
  uint8_t other_ = 0;
};

// Texts up to this length are best searched by plain comparison of
// windows: setting up the two-way search would cost more than the search.
inline constexpr size_t kShortSearchText = 64;

// The first place p >= from at which needle occurs in haystack, or
// SubstringSearcher::kNotFound, by plain comparison of windows: for a
// haystack of at most kShortSearchText bytes.  lower_needle as above.
size_t FindInShortText(Bytes haystack, size_t from, Bytes needle, bool lower_needle = false);

// Whether needle occurs in text (an empty needle does).
bool Contains(Bytes text, Bytes needle);

}  // namespace twinekit::fields
