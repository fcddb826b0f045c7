#include "compress/compress.h"

#include "frame/hex_blocks.h"
#include "frame/hex_digits.h"
#include "frame/result.h"
#include "frame/size_math.h"

namespace twinekit::compress {

BSTR PackDigits(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  const auto capacity = CheckedSize((uint64_t{txt.size()} + 1) / 2);
  return BuildWholeResult(capacity, [&](MutableBytes out) {
    // An odd count: the first digit alone in the first byte.
    const size_t odd = txt.size() % 2;
    if (odd == 1) out[0] = PackedDigit(txt[0]);
    hex::ReadPackedPairs(txt.subspan(odd), out.data() + odd);
  });
}

BSTR UnpackDigits(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  return BuildWholeResult(CheckedMulAdd(txt.size(), 2, 0),
                          [&](MutableBytes out) { hex::WriteDigits(txt, out.data()); });
}

}  // namespace twinekit::compress
