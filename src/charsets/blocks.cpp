#include "charsets/blocks.h"

#include <algorithm>
#include <cstring>

#include "frame/result.h"
#include "frame/size_math.h"

namespace twinekit::charsets {
namespace {

// A delimiter that both opens and closes: every second one ends a block.
// One without a partner removes the rest of the text.
size_t DropPairedBlocks(Bytes txt, uint8_t delimiter, MutableBytes out) {
  size_t written = 0;
  bool inside = false;
  for (const uint8_t b : txt) {
    if (b == delimiter) {
      inside = !inside;
    } else if (!inside) {
      out[written++] = b;
    }
  }
  return written;
}

// From an opener to the first closer after it, both included.  Blocks do
// not nest: a second opener inside changes nothing.  A closer outside a
// block is an ordinary byte; an opener without a closer removes the rest.
size_t DropOpenCloseBlocks(Bytes txt, uint8_t opener, uint8_t closer, MutableBytes out) {
  size_t written = 0;
  bool inside = false;
  for (const uint8_t b : txt) {
    if (b == opener) {
      inside = true;
    } else if (inside) {
      if (b == closer) inside = false;  // the closer itself is dropped
    } else {
      out[written++] = b;
    }
  }
  return written;
}

}  // namespace

BSTR FilterBlocks(Bytes txt, Bytes delimiters) {
  if (txt.empty()) return EmptyResult();
  if (delimiters.empty()) return CopyOfText(txt);
  const uint8_t first = delimiters[0];
  const bool paired = delimiters.size() == 1 || delimiters[1] == first;
  return BuildResult(txt.size(), [&](MutableBytes out) {
    return paired ? DropPairedBlocks(txt, first, out)
                  : DropOpenCloseBlocks(txt, first, delimiters[1], out);
  });
}

BSTR InsertByMask(Bytes mask, Bytes mask_char, Bytes txt) {
  if (mask.empty()) return EmptyResult();
  if (txt.empty()) return CopyOfText(mask);
  const uint8_t placeholder = mask_char.empty() ? kDefaultPlaceholder : mask_char[0];
  return BuildResult(mask.size(), [&](MutableBytes out) {
    size_t filled = 0;
    for (size_t i = 0; i < mask.size(); ++i) {
      if (mask[i] != placeholder) {
        out[i] = mask[i];
      } else {
        out[i] = filled < txt.size() ? txt[filled] : ' ';
        ++filled;
      }
    }
    return mask.size();
  });
}

BSTR InsertBlocks(Bytes txt, Bytes blocks, uint8_t separator) {
  if (txt.empty()) return EmptyResult();
  if (blocks.empty()) return CopyOfText(txt);
  // Every byte of either argument is written at most once.
  const auto capacity = CheckedSize(uint64_t{txt.size()} + uint64_t{blocks.size()});
  return BuildResult(capacity, [&](MutableBytes out) {
    size_t written = 0;
    size_t read = 0;  // the next block starts here
    for (const uint8_t b : txt) {
      if (b != separator) {
        out[written++] = b;
        continue;
      }
      if (read == blocks.size()) continue;  // no block left
      const Bytes rest = blocks.subspan(read);
      const size_t length =
          static_cast<size_t>(std::find(rest.begin(), rest.end(), separator) - rest.begin());
      if (length > 0) std::memcpy(out.data() + written, rest.data(), length);
      written += length;
      read += std::min(length + 1, rest.size());  // past the block and its separator
    }
    return written;
  });
}

}  // namespace twinekit::charsets
