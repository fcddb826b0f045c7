#include "names/proper_name.h"

#include <cstring>

#include "frame/byte_map.h"
#include "frame/kernels/kernel_table.h"
#include "frame/chars.h"
#include "frame/result.h"
#include "frame/scratch.h"
#include "frame/size_math.h"
#include "names/passes.h"

namespace twinekit::names {

// Nothing is lowered: only a byte at the start or after a blank changes.
BSTR ProperName(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  return BuildWholeResult(txt.size(), [&](MutableBytes out) {
    kernels::Kernels().text->raise_after_blanks(txt, out.data());
  });
}

BSTR ProperName2(Bytes txt, Bytes exceptions, int16_t option_bits) {
  if (txt.empty()) return EmptyResult();
  const NameOptions options = NameOptions::FromBits(option_bits);
  const size_t n = txt.size();

  // The working copy: a blank, so that the first word is preceded by one
  // like every other, the text, and a zero byte that ends the searches.
  const auto copy_size = CheckedSize(uint64_t{n} + 2);
  if (!copy_size) return EmptyResult();
  ScratchBuffer copy(*copy_size, ScratchBuffer::kStringAllocator);
  if (!copy.ok()) return EmptyResult();
  uint8_t* work = copy.bytes().data();
  work[0] = ' ';
  std::memcpy(work + 1, txt.data(), n);
  work[n + 1] = 0;

  if (options.fold_before_matching) {
    const MutableBytes text(work + 1, n);
    MapEachByte(text, text, [](uint8_t b) { return ToLower(b); });
  }
  if (!exceptions.empty() && !MarkExceptions(work, exceptions, options.prefixes)) {
    return EmptyResult();
  }
  Capitalise(work, n, options.capital_after_punct);
  RestoreMarks(work, txt, options.keep_exception_case);
  return ResultFromBytes(work + 1, static_cast<int64_t>(n));
}

}  // namespace twinekit::names
