#include "charsets/charsets.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "frame/byte_mask.h"
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

// InsertBlocks on a text and blocks of at most kMaxMaskedSpan bytes each:
// the separators of both found at once as the bits of two words, and every
// run moved by one 16-byte copy between local buffers with room past their
// ends, so that no step branches on a run's length.
constexpr size_t kShortBlocks = kMaxMaskedSpan;

struct ShortResult {
  uint8_t bytes[2 * kShortBlocks + 16];  // room for a copy at the last run
  size_t length;
};

void InsertShortBlocks(Bytes txt, Bytes blocks, uint8_t separator, ShortResult& result) {
  uint8_t text[2 * kShortBlocks] = {};
  uint8_t list[2 * kShortBlocks] = {};
  CopyRun(text, txt.data(), txt.size());
  CopyRun(list, blocks.data(), blocks.size());
  uint64_t separators = MaskOfValue(txt, separator);
  // Each block ends at a separator or, the last one, at the list's end.
  uint64_t block_ends = MaskOfValue(blocks, separator) | uint64_t{1} << blocks.size();
  size_t written = 0;
  size_t read = 0;  // the next block starts here
  for (size_t at = 0;;) {
    const size_t sep =
        separators != 0 ? static_cast<size_t>(std::countr_zero(separators)) : txt.size();
    std::memcpy(result.bytes + written, text + at, 16);
    written += sep - at;
    if (separators == 0) break;
    separators &= separators - 1;
    at = sep + 1;
    if (read == blocks.size()) continue;  // no block left
    const size_t block_end = static_cast<size_t>(std::countr_zero(block_ends));
    block_ends &= block_ends - 1;
    std::memcpy(result.bytes + written, list + read, 16);
    written += block_end - read;
    read = std::min(block_end + 1, blocks.size());  // past the block and its separator
  }
  result.length = written;
}

// Copies n <= 32 bytes: more than 16 by two 16-byte moves that overlap in
// the middle.
void CopyUpTo32(uint8_t* destination, const uint8_t* source, size_t n) {
  if (n <= kShortCopy) return CopyRun(destination, source, n);
  std::memcpy(destination, source, 16);
  std::memcpy(destination + n - 16, source + n - 16, 16);
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
  if (txt.size() <= kShortBlocks && blocks.size() <= kShortBlocks) {
    // Built before the working area is taken, so that its length is known
    // and the bytes go straight to the result string.
    ShortResult result;
    InsertShortBlocks(txt, blocks, separator, result);
    return BuildResultInPlace(capacity, result.length, [&](MutableBytes out) {
      CopyUpTo32(out.data(), result.bytes, result.length);
    });
  }
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
