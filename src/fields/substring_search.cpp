#include "fields/substring_search.h"

#include <algorithm>
#include <bit>

#include "frame/chars.h"
#include "frame/text_passes.h"
#include "frame/word_find.h"

namespace twinekit::fields {
namespace {

template <bool kLower>
size_t FindWindow(Bytes haystack, size_t from, Bytes needle) {
  const auto at = [&](size_t i) { return kLower ? ToLower(needle[i]) : needle[i]; };
  const uint8_t first = at(0);
  if (needle.size() > haystack.size()) return SubstringSearcher::kNotFound;
  const size_t windows = haystack.size() - needle.size() + 1;
  for (size_t j = from; j < windows; ++j) {
    j = FindEitherByte(haystack.data(), j, windows, first, first);
    if (j == windows) break;
    size_t i = 1;
    while (i < needle.size() && haystack[j + i] == at(i)) ++i;
    if (i == needle.size()) return j;
  }
  return SubstringSearcher::kNotFound;
}

}  // namespace

SubstringSearcher::SubstringSearcher(Bytes needle, bool lower_needle)
    : needle_(needle), lower_(lower_needle), m_(static_cast<int64_t>(needle.size())) {
  // The critical factorisation is the later of the two maximal suffixes,
  // one for each order of the bytes.
  int64_t p = 1;
  int64_t q = 1;
  const int64_t by_less = MaximalSuffix(false, &p);
  const int64_t by_greater = MaximalSuffix(true, &q);
  if (by_less > by_greater) {
    split_ = by_less;
    period_ = p;
  } else {
    split_ = by_greater;
    period_ = q;
  }
  // The needle has period period_ when its left part repeats that far on.
  periodic_ = true;
  for (int64_t i = 0; i <= split_; ++i) {
    if (At(i) != At(i + period_)) {
      periodic_ = false;
      break;
    }
  }
  if (!periodic_) period_ = std::max(split_ + 1, m_ - split_ - 1) + 1;
  // The second byte tested is the needle's first, or its last when the
  // anchor is the first: as far from the anchor as the needle allows.
  if (m_ > 0) {
    anchor_ = At(split_ + 1);
    other_at_ = split_ + 1 == 0 ? m_ - 1 : 0;
    other_ = At(other_at_);
  }
}

uint8_t SubstringSearcher::At(int64_t i) const {
  const uint8_t b = needle_[static_cast<size_t>(i)];
  return lower_ ? ToLower(b) : b;
}

// The start (less one) of the needle's maximal suffix in the given byte
// order, and that suffix's period.
int64_t SubstringSearcher::MaximalSuffix(bool reversed, int64_t* period) const {
  int64_t suffix = -1;
  int64_t j = 0;
  int64_t k = 1;
  int64_t p = 1;
  while (j + k < m_) {
    const uint8_t a = At(j + k);
    const uint8_t b = At(suffix + k);
    if (reversed ? a > b : a < b) {
      j += k;
      k = 1;
      p = j - suffix;
    } else if (a == b) {
      if (k != p) {
        ++k;
      } else {
        j += p;
        k = 1;
      }
    } else {
      suffix = j;
      j = suffix + 1;
      k = p = 1;
    }
  }
  *period = p;
  return suffix;
}

size_t SubstringSearcher::Find(Bytes haystack, size_t from) const {
  if (from > haystack.size()) return kNotFound;
  const auto n = static_cast<int64_t>(haystack.size());
  const auto start = static_cast<int64_t>(from);
  if (m_ == 0) return from;
  if (m_ > n - start) return kNotFound;
  return periodic_ ? FindPeriodic(haystack.data(), n, start)
                   : FindAperiodic(haystack.data(), n, start);
}

// The first window at or after j (j + m_ <= n) that holds the anchor byte
// (the first of the right part) and one other byte of the needle in their
// places, or -1 when there is none.  No window it passes over can match,
// so the search may jump there.
int64_t SubstringSearcher::SkipToAnchor(const uint8_t* y, int64_t n, int64_t j) const {
  const int64_t last_window = n - m_;
  if (j > last_window) return -1;
  const size_t found = text::FindPair(
      y, static_cast<size_t>(j), static_cast<size_t>(last_window), static_cast<size_t>(split_ + 1),
      anchor_, static_cast<size_t>(other_at_), other_);
  return found == text::kNoPair ? -1 : static_cast<int64_t>(found);
}

// Matches the right part first, then the left.  After a full match the
// window moves by the period, and the bytes that the move keeps under the
// needle (memory) need no second look.
size_t SubstringSearcher::FindPeriodic(const uint8_t* y, int64_t n, int64_t from) const {
  int64_t memory = -1;
  for (int64_t j = from; j + m_ <= n;) {
    if (memory < 0 && (j = SkipToAnchor(y, n, j)) < 0) return kNotFound;
    int64_t i = std::max(split_, memory) + 1;
    while (i < m_ && At(i) == y[i + j]) ++i;
    if (i < m_) {
      j += i - split_;
      memory = -1;
      continue;
    }
    i = split_;
    while (i > memory && At(i) == y[i + j]) --i;
    if (i <= memory) return static_cast<size_t>(j);
    j += period_;
    memory = m_ - period_ - 1;
  }
  return kNotFound;
}

size_t SubstringSearcher::FindAperiodic(const uint8_t* y, int64_t n, int64_t from) const {
  for (int64_t j = from; j + m_ <= n;) {
    if ((j = SkipToAnchor(y, n, j)) < 0) return kNotFound;
    int64_t i = split_ + 1;
    while (i < m_ && At(i) == y[i + j]) ++i;
    if (i < m_) {
      j += i - split_;
      continue;
    }
    i = split_;
    while (i >= 0 && At(i) == y[i + j]) --i;
    if (i < 0) return static_cast<size_t>(j);
    j += period_;
  }
  return kNotFound;
}

size_t FindInShortText(Bytes haystack, size_t from, Bytes needle, bool lower_needle) {
  if (from > haystack.size()) return SubstringSearcher::kNotFound;
  if (needle.empty()) return from;
  return lower_needle ? FindWindow<true>(haystack, from, needle)
                      : FindWindow<false>(haystack, from, needle);
}

bool Contains(Bytes text, Bytes needle) {
  if (needle.empty()) return true;
  if (needle.size() > text.size()) return false;
  const size_t found = text.size() <= kShortSearchText ? FindWindow<false>(text, 0, needle)
                                                       : SubstringSearcher(needle).Find(text, 0);
  return found != SubstringSearcher::kNotFound;
}

}  // namespace twinekit::fields
