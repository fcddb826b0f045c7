#include "compress/compress.h"

#include <bit>
#include <cstring>

#include "frame/byte_mask.h"
#include "frame/byte_scan.h"
#include "frame/result.h"
#include "frame/size_math.h"
#include "frame/word_find.h"
#include "frame/word_keep.h"

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

// The high bit of each byte of x that a text keeps: neither zero, blank
// nor tab.
uint64_t KeptBytes(uint64_t x) {
  using namespace words;
  return NonZeroHighs(x) & OtherHighs(x, kBlank) & OtherHighs(x, kTab);
}

// CompressBlanksToTabs' work: writes txt to out with each run of blanks
// folded, run_at(i) giving the length of the run that starts at txt[i];
// returns how many bytes it wrote.  Byte by byte: in text, blanks come
// every few bytes, too often for a search and a copy per run to pay.
template <typename RunAt>
size_t FoldBlanks(Bytes txt, size_t per_tab, uint8_t* out, RunAt run_at) {
  size_t written = 0;
  size_t i = 0;
  while (i < txt.size()) {
    if (txt[i] != kBlank) {
      out[written++] = txt[i++];
      continue;
    }
    size_t run = run_at(i);
    i += run;
    // A tab for each whole width, a blank for each blank left over: the
    // output never outgrows the text.  Taking off a width at a time costs
    // no more than the run took to read.
    for (; run >= per_tab; run -= per_tab) out[written++] = kTab;
    for (; run > 0; --run) out[written++] = kBlank;
  }
  return written;
}

}  // namespace

BSTR RemoveBlanks(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  // Texts of 8 to 16 bytes are kept from two words; longer ones by the
  // scan kernel in the working area, shorter ones a byte at a time there.
  if constexpr (kWordKeep) {
    if (txt.size() >= kWordKeepMin && txt.size() <= kWordKeepMax) {
      return KeepMarkedBytes(txt, [](uint64_t low, uint64_t high) {
        return WordMarks{KeptBytes(low), KeptBytes(high)};
      });
    }
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
  if constexpr (kWordKeep) {
    // A text of 8 to 16 bytes has its blanks marked first, so that a run
    // of them is measured at once.
    if (txt.size() >= kWordKeepMin && txt.size() <= kWordKeepMax) {
      const uint64_t blanks = MaskOfValue(txt, kBlank);
      return BuildResult(txt.size(), [&](MutableBytes out) {
        return FoldBlanks(txt, per_tab, out.data(), [&](size_t from) {
          return static_cast<size_t>(std::countr_one(blanks >> from));
        });
      });
    }
  }
  return BuildResult(CheckedSize(txt.size()), [&](MutableBytes out) {
    return FoldBlanks(txt, per_tab, out.data(),
                      [&](size_t from) { return BlankRunAt(txt, from); });
  });
}

}  // namespace twinekit::compress
