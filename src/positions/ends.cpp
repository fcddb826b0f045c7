#include "positions/positions.h"

#include <algorithm>

#include "frame/result.h"
#include "frame/short_copy.h"
#include "frame/text_passes.h"

namespace twinekit::positions {
namespace {

// True when 1 <= position <= n, compared without narrowing either side.
bool IsPosition(int64_t position, size_t n) {
  return position >= 1 && static_cast<uint64_t>(position) <= n;
}

}  // namespace

BSTR OneCharFromLeft(Bytes txt, int32_t position) {
  if (!IsPosition(position, txt.size())) return EmptyResult();
  return ResultFromRun(txt.subspan(static_cast<size_t>(position) - 1, 1));
}

BSTR OneCharFromRight(Bytes txt, int32_t position) {
  if (!IsPosition(position, txt.size())) return EmptyResult();
  return ResultFromRun(txt.subspan(txt.size() - static_cast<size_t>(position), 1));
}

// A Count of 0 and a Count equal to n both give the empty result.
BSTR DropFromRight(Bytes txt, int32_t count) {
  if (count < 1 || static_cast<uint64_t>(count) >= txt.size()) return EmptyResult();
  return ResultFromRun(txt.first(txt.size() - static_cast<size_t>(count)));
}

BSTR DropFromLeft(Bytes txt, int32_t count) {
  if (count < 1 || static_cast<uint64_t>(count) >= txt.size()) return EmptyResult();
  return ResultFromRun(txt.subspan(static_cast<size_t>(count)));
}

BSTR RotateLeft(Bytes txt) {
  if (txt.size() <= 1) return CopyOfText(txt);
  return BuildWholeResult(txt.size(), [&](MutableBytes out) {
    CopyRun(out.data(), txt.data() + 1, txt.size() - 1);
    out[txt.size() - 1] = txt[0];
  });
}

BSTR RotateRight(Bytes txt) {
  if (txt.size() <= 1) return CopyOfText(txt);
  return BuildWholeResult(txt.size(), [&](MutableBytes out) {
    out[0] = txt.back();
    CopyRun(out.data() + 1, txt.data(), txt.size() - 1);
  });
}

BSTR Reverse(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  return BuildWholeResult(txt.size(), [&](MutableBytes out) { text::Reverse(txt, out.data()); });
}

BSTR GetBlock(Bytes txt, int32_t block_number, int32_t block_size) {
  if (txt.empty() || block_number < 1 || block_size < 1) return EmptyResult();
  // At most (2^31 - 2) × (2^31 - 1): fits in 64 bits.
  const uint64_t start = uint64_t(block_number - 1) * uint64_t(block_size);
  if (start >= txt.size()) return EmptyResult();
  const uint64_t length = std::min<uint64_t>(uint64_t(block_size), txt.size() - start);
  return ResultFromRun(txt.subspan(static_cast<size_t>(start), static_cast<size_t>(length)));
}

}  // namespace twinekit::positions
