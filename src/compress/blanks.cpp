#include "compress/blanks.h"

#include <algorithm>
#include <cstring>

#include "frame/result.h"
#include "frame/size_math.h"

namespace twinekit::compress {
namespace {

constexpr uint8_t kBlank = 0x20;
constexpr uint8_t kTab = 0x09;

bool IsBlankTabOrZero(uint8_t c) { return c == kBlank || c == kTab || c == 0; }

size_t CountTabs(Bytes txt) { return static_cast<size_t>(std::count(txt.begin(), txt.end(), kTab)); }

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
    size_t written = 0;
    for (uint8_t c : txt) {
      if (!IsBlankTabOrZero(c)) out[written++] = c;
    }
    return written;
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
  return BuildResult(capacity, [&](MutableBytes out) {
    size_t written = 0;
    for (uint8_t c : txt) {
      if (c == kTab) {
        std::memset(out.data() + written, kBlank, blanks);
        written += blanks;
      } else {
        out[written++] = c;
      }
    }
    return written;
  });
}

BSTR CompressBlanksToTabs(Bytes txt, int32_t width) {
  if (txt.empty()) return EmptyResult();
  if (width <= 1) return CopyOfText(txt);
  const size_t per_tab = static_cast<size_t>(width);
  return BuildResult(CheckedSize(txt.size()), [&](MutableBytes out) {
    size_t written = 0;
    size_t i = 0;
    while (i < txt.size()) {
      if (txt[i] != kBlank) {
        out[written++] = txt[i++];
        continue;
      }
      const size_t run = BlankRunAt(txt, i);
      i += run;
      // run / per_tab + run % per_tab <= run: the output never outgrows n.
      std::memset(out.data() + written, kTab, run / per_tab);
      written += run / per_tab;
      std::memset(out.data() + written, kBlank, run % per_tab);
      written += run % per_tab;
    }
    return written;
  });
}

}  // namespace twinekit::compress
