#include "compress/compress.h"

#include <bit>
#include <cstring>

#include "frame/byte_scan.h"
#include "frame/result.h"
#include "frame/size_math.h"
#include "frame/word_find.h"

namespace twinekit::compress {
namespace {

constexpr uint8_t kBlank = 0x20;
constexpr uint8_t kTab = 0x09;

constexpr uint8_t kBlankTabAndZero[] = {kBlank, kTab, 0};

size_t CountTabs(Bytes txt) { return scan::Count(txt, ByteClass(kTab)); }

// Length of the run of blanks that starts at txt[from].
size_t BlankRunAt(Bytes txt, size_t from) {
  size_t end = from;
  while (end < txt.size() && txt[end] == kBlank) ++end;
  return end - from;
}

// Texts of 8 to 16 bytes are read as two words, which may overlap, and
// their kept bytes written straight into the result from the words: no
// byte is loaded after a store, and no jump depends on a byte.  Longer
// ones are kept by the scan kernel in the working area, shorter ones a
// byte at a time there.
constexpr size_t kWordText = 8;
constexpr size_t kTwoWordText = 16;

using word_find_detail::EqualHighs;
using word_find_detail::kHighs;
using word_find_detail::kOnes;
using word_find_detail::LoadWord;

// The high bit of each byte of x that a text keeps: neither zero, blank
// nor tab.
uint64_t KeptBytes(uint64_t x) {
  return ~(EqualHighs(x, 0) | EqualHighs(x, kBlank) | EqualHighs(x, kTab)) & kHighs;
}

constexpr size_t MarkedCount(uint64_t marks) { return ((marks >> 7) * kOnes) >> 56; }

// The bytes of a word up to and including its last marked one.
constexpr size_t BytesToLastMark(uint64_t marks) {
  return marks == 0 ? 0 : static_cast<size_t>(64 - std::countl_zero(marks)) / 8;
}

// Stores the first `bytes` bytes of word at out, each at the count of
// marked bytes before it, so that no store waits for the one before; a
// byte that is not marked is overwritten by the next marked one.  Returns
// how many marked bytes there are.
size_t StoreMarked(uint64_t word, uint64_t marks, size_t bytes, uint8_t* out) {
  const uint64_t ones = marks >> 7;
  // Byte k of `through` counts the marked bytes up to and including k.
  const uint64_t through = ones * kOnes;
  const uint64_t before = through - ones;
  for (size_t k = 0; k < bytes; ++k) {
    out[(before >> (8 * k)) & 0xFF] = static_cast<uint8_t>(word >> (8 * k));
  }
  return through >> 56;
}

BSTR RemoveBlanksFromWords(Bytes txt) {
  const uint64_t low = LoadWord(txt.data());
  const uint64_t high = LoadWord(txt.data() + txt.size() - 8);
  const uint64_t low_kept = KeptBytes(low);
  // The bytes of the high word that the low one holds too are not its.
  const size_t shared = kTwoWordText - txt.size();
  const uint64_t high_kept = shared == kWordText ? 0 : KeptBytes(high) & (~uint64_t{0} << (8 * shared));
  const size_t length = MarkedCount(low_kept) + MarkedCount(high_kept);
  return BuildResultInPlace(txt.size(), length, [&](MutableBytes out) {
    // A byte is stored wherever the walk stands, so it stops at the last
    // kept byte: one stored after it would land past the result's end.
    const size_t low_bytes = high_kept != 0 ? kWordText : BytesToLastMark(low_kept);
    const size_t written = StoreMarked(low, low_kept, low_bytes, out.data());
    StoreMarked(high, high_kept, BytesToLastMark(high_kept), out.data() + written);
  });
}

}  // namespace

BSTR RemoveBlanks(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  if constexpr (std::endian::native == std::endian::little) {
    if (txt.size() >= kWordText && txt.size() <= kTwoWordText) return RemoveBlanksFromWords(txt);
  }
  // Built at each call: a function-local static would need the C++
  // runtime's guarded start-up, which the DLLs do without.
  const ByteClass blanks(Bytes{kBlankTabAndZero});
  return BuildResult(CheckedSize(txt.size()), [&](MutableBytes out) {
    return scan::Keep(txt, blanks, false, out);
  });
}

BSTR ExpandTabs(Bytes txt, int32_t width) {
  if (txt.empty()) return EmptyResult();
  if (width < 1) return CopyOfText(txt);
  // A word-at-a-time search tells a short text without tabs before any
  // count is set up.
  const size_t first_tab = FindByte(txt.data(), 0, txt.size(), kTab);
  if (first_tab == txt.size()) return CopyOfText(txt);
  const size_t tabs = CountTabs(txt.subspan(first_tab));
  // The working area holds n + width × tabs bytes.  A size beyond what a
  // result may have (a width of hundreds of millions with a few tabs) is
  // refused like memory that cannot be had: the empty result, and nothing
  // is written anywhere.
  const auto capacity = CheckedMulAdd(static_cast<uint32_t>(width), tabs, txt.size());
  const size_t blanks = static_cast<size_t>(width);
  // Each tab gives way to its blanks: the result is the area less a byte
  // for each tab.
  const size_t length = capacity ? *capacity - tabs : 0;
  return BuildResultInPlace(capacity, length, [&](MutableBytes out) {
    // The runs between tabs are copied whole.
    size_t written = 0;
    for (size_t at = 0;;) {
      const size_t tab = scan::Find(txt, at, kTab);
      std::memcpy(out.data() + written, txt.data() + at, tab - at);
      written += tab - at;
      if (tab == txt.size()) return;
      std::memset(out.data() + written, kBlank, blanks);
      written += blanks;
      at = tab + 1;
    }
  });
}

BSTR CompressBlanksToTabs(Bytes txt, int32_t width) {
  if (txt.empty()) return EmptyResult();
  if (width <= 1) return CopyOfText(txt);
  const size_t per_tab = static_cast<size_t>(width);
  return BuildResult(CheckedSize(txt.size()), [&](MutableBytes out) {
    // Byte by byte: in text, blanks come every few bytes, too often for a
    // search and a copy per run to pay.
    size_t written = 0;
    size_t i = 0;
    while (i < txt.size()) {
      if (txt[i] != kBlank) {
        out[written++] = txt[i++];
        continue;
      }
      size_t run = BlankRunAt(txt, i);
      i += run;
      // A tab for each whole width, a blank for each blank left over: the
      // output never outgrows the text.  Taking off a width at a time
      // costs no more than the run took to read.
      for (; run >= per_tab; run -= per_tab) out[written++] = kTab;
      for (; run > 0; --run) out[written++] = kBlank;
    }
    return written;
  });
}

}  // namespace twinekit::compress
