#include "compress/compress.h"

#include <cstring>

#include "frame/byte_scan.h"
#include "frame/result.h"
#include "frame/size_math.h"

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

}  // namespace

BSTR RemoveBlanks(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  return BuildResult(CheckedSize(txt.size()), [&](MutableBytes out) {
    return scan::Keep(txt, ByteClass(Bytes(kBlankTabAndZero)), false, out);
  });
}

BSTR ExpandTabs(Bytes txt, int32_t width) {
  if (txt.empty()) return EmptyResult();
  if (width < 1) return CopyOfText(txt);
  const size_t tabs = CountTabs(txt);
  if (tabs == 0) return CopyOfText(txt);
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
