// The longest string result each export may give for its arguments: what
// its own rules allow, so that a longer result is a fault.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "exports/export_table.h"

namespace tkfuzz {

inline uint64_t Positive(int64_t v) { return v > 0 ? static_cast<uint64_t>(v) : 0; }

inline uint64_t CountOf(const std::string& s, char c) {
  return static_cast<uint64_t>(std::count(s.begin(), s.end(), c));
}

// len: byte counts of the arguments in order; num: their numbers (Longs,
// Integers as given); text: their bytes.
inline uint64_t ResultBound(const twinekit::ExportInfo& e, const std::array<uint64_t, 4>& len,
                            const std::array<int64_t, 4>& num,
                            const std::array<std::string, 4>& text) {
  const std::string_view f = e.name;
  const uint64_t n = len[0];
  if (f == "cOneCharFromLeft" || f == "cOneCharFromRight") return 1;
  if (f == "cInsertChars") return n + len[2];
  if (f == "cResizeStringAndFill") return Positive(num[1]);
  if (f == "cCreateAndFill") return Positive(num[0]);
  if (f == "cAlign") return Positive(num[2]);
  if (f == "cStringSAR") return n == 0 ? 0 : std::max<uint64_t>(n, 6 * n - 1);
  if (f == "cInsertByMask") return n;
  if (f == "cInsertBlocks" || f == "cInsertBlocksBy") return n + len[1];
  if (f == "cExpandTab") return n + Positive(num[1]) * CountOf(text[0], '\t');
  if (f == "cCompact") return (n + 1) / 2;
  if (f == "cUncompact" || f == "cToHexa") return 2 * n;
  if (f == "cFromHexa") return n / 2;
  if (f == "cLrc") return 2;
  if (f == "cMorse") return 7 * n;
  if (f == "cArabicToRoman") return 256;
  // Every other string export gives at most its text's own length.
  return n;
}

}  // namespace tkfuzz
