#include "charsets/charsets.h"

#include <algorithm>

#include "frame/byte_scan.h"
#include "frame/result.h"
#include "frame/short_copy.h"
#include "frame/size_math.h"

namespace twinekit::charsets {
namespace {

// The longest text whose result FilterBlocks may write straight.
constexpr size_t kShortText = 64;

// Appends txt[from, to) at out + written; returns the new written count.
size_t AppendRun(Bytes txt, size_t from, size_t to, MutableBytes out, size_t written) {
  CopyRun(out.data() + written, txt.data() + from, to - from);
  return written + (to - from);
}

// From an opener to the first closer after it, both included.  Blocks do
// not nest: a second opener inside changes nothing.  A closer outside a
// block is an ordinary byte; an opener without a closer removes the rest.
// One delimiter that both opens and closes (opener == closer) pairs its
// occurrences: every second one ends a block.  The runs outside blocks are
// copied whole.  first_opener is the place of the first opener, txt.size()
// when there is none.
size_t DropOpenCloseBlocks(Bytes txt, uint8_t opener, uint8_t closer, size_t first_opener,
                           MutableBytes out) {
  size_t written = 0;
  size_t at = 0;
  for (size_t opens = first_opener;; opens = scan::Find(txt, at, opener)) {
    written = AppendRun(txt, at, opens, out, written);
    if (opens == txt.size()) break;
    const size_t closes = scan::Find(txt, opens + 1, closer);
    if (closes == txt.size()) break;
    at = closes + 1;
  }
  return written;
}

}  // namespace

BSTR FilterBlocks(Bytes txt, Bytes delimiters) {
  if (txt.empty()) return EmptyResult();
  if (delimiters.empty()) return CopyOfText(txt);
  // One delimiter, or two: the first opens and the second closes.
  const uint8_t opener = delimiters[0];
  const uint8_t closer = delimiters.size() == 1 ? opener : delimiters[1];
  const size_t first_opener = scan::Find(txt, 0, opener);
  // A short text without a block is the result as it stands, written
  // once.  A long one is not: a result made without its bytes is cleared
  // first, which costs more than the copy it saves.
  if (first_opener == txt.size() && txt.size() <= kShortText) {
    return BuildWholeResult(txt.size(), [&](MutableBytes out) {
      CopyRun(out.data(), txt.data(), txt.size());
    });
  }
  return BuildResult(txt.size(), [&](MutableBytes out) {
    return DropOpenCloseBlocks(txt, opener, closer, first_opener, out);
  });
}

BSTR InsertByMask(Bytes mask, Bytes mask_char, Bytes txt) {
  if (mask.empty()) return EmptyResult();
  if (txt.empty()) return CopyOfText(mask);
  const uint8_t placeholder = FirstByteOr(mask_char, kDefaultPlaceholder);
  return BuildWholeResult(mask.size(), [&](MutableBytes out) {
    size_t filled = 0;
    for (size_t i = 0; i < mask.size(); ++i) {
      if (mask[i] != placeholder) {
        out[i] = mask[i];
      } else {
        out[i] = filled < txt.size() ? txt[filled] : ' ';
        ++filled;
      }
    }
  });
}

BSTR InsertBlocks(Bytes txt, Bytes blocks, uint8_t separator) {
  if (txt.empty()) return EmptyResult();
  if (blocks.empty()) return CopyOfText(txt);
  // Every byte of either argument is written at most once.
  const auto capacity = CheckedSize(uint64_t{txt.size()} + uint64_t{blocks.size()});
  return BuildResult(capacity, [&](MutableBytes out) {
    // The runs between separators are copied whole, and each separator
    // is replaced by the next block, if any is left.
    size_t written = 0;
    size_t read = 0;  // the next block starts here
    for (size_t at = 0;;) {
      const size_t sep = scan::Find(txt, at, separator);
      written = AppendRun(txt, at, sep, out, written);
      if (sep == txt.size()) break;
      at = sep + 1;
      if (read == blocks.size()) continue;  // no block left
      const size_t block_end = scan::Find(blocks, read, separator);
      written = AppendRun(blocks, read, block_end, out, written);
      read = std::min(block_end + 1, blocks.size());  // past the block and its separator
    }
    return written;
  });
}

}  // namespace twinekit::charsets
