#include "positions/positions.h"

#include <algorithm>

#include "frame/result.h"
#include "frame/short_copy.h"
#include "frame/size_math.h"

namespace twinekit::positions {

BSTR RemoveOneChar(Bytes txt, int32_t position) {
  if (txt.empty()) return EmptyResult();
  if (position < 1 || static_cast<uint64_t>(position) > txt.size()) return CopyOfText(txt);
  const size_t at = static_cast<size_t>(position) - 1;
  return BuildWholeResult(txt.size() - 1, [&](MutableBytes out) {
    CopyRun(out.data(), txt.data(), at);
    CopyRun(out.data() + at, txt.data() + at + 1, txt.size() - at - 1);
  });
}

// A block that runs past the end of the text (Position + Count - 1 > n while
// Count < n) leaves more bytes before it than the n - Count the result has
// room for; the result is then the first n - Count bytes of the text, so the
// length stays n - Count and nothing is written past the buffer.
BSTR RemoveBlock(Bytes txt, int32_t position, int32_t count) {
  const size_t n = txt.size();
  if (n == 0) return EmptyResult();
  if (position < 0 || static_cast<uint64_t>(position) > n || count < 1) return CopyOfText(txt);
  if (static_cast<uint64_t>(count) >= n) return EmptyResult();
  const size_t before = position == 0 ? 0 : static_cast<size_t>(position) - 1;
  const size_t removed = static_cast<size_t>(count);
  const size_t length = n - removed;
  return BuildWholeResult(length, [&](MutableBytes out) {
    const size_t head = std::min(before, length);
    CopyRun(out.data(), txt.data(), head);
    if (head < length) {
      CopyRun(out.data() + head, txt.data() + before + removed, length - head);
    }
  });
}

BSTR InsertAt(Bytes txt, int32_t position, Bytes insertion) {
  if (txt.empty()) return EmptyResult();
  if (position < 0 || insertion.empty()) return CopyOfText(txt);
  const size_t head = std::min<uint64_t>(static_cast<uint64_t>(position), txt.size());
  return BuildWholeResult(CheckedMulAdd(1, txt.size(), insertion.size()), [&](MutableBytes out) {
    uint8_t* p = out.data();
    CopyRun(p, txt.data(), head);
    CopyRun(p + head, insertion.data(), insertion.size());
    CopyRun(p + head + insertion.size(), txt.data() + head, txt.size() - head);
  });
}

}  // namespace twinekit::positions
