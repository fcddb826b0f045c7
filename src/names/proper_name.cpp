#include "names/proper_name.h"

#include <bit>
#include <cstring>

#include "frame/byte_map.h"
#include "frame/kernels/kernel_table.h"
#include "frame/chars.h"
#include "frame/result.h"
#include "frame/scratch.h"
#include "frame/size_math.h"
#include "names/byte_words.h"
#include "names/passes.h"

namespace twinekit::names {

namespace {

// The kernel's vector loop takes whole blocks after a text's first byte
// and leaves a shorter text to its byte loop.  A text of 8 to 16 bytes is
// raised here instead in two overlapping 64-bit words read straight from
// it, each beside the word one byte before it.
constexpr size_t kShortText = 2 * kWordBytes;

// 0x80 in each byte of x that is a small letter: below 0x80, at least
// 'a', below '{'.  No sum carries out of its byte.
uint64_t SmallLetters(uint64_t x) {
  const uint64_t low = x & kLows;
  return (low + kOnes * (0x80 - 'a')) & ~(low + kOnes * (0x80 - 'z' - 1)) & ~x & kHighs;
}

// word with each small letter whose byte in before is a blank made capital.
uint64_t RaiseWord(uint64_t word, uint64_t before) {
  return word ^ ((EqualHighs(before, ' ') & SmallLetters(word)) >> 2);
}

void RaiseAfterBlanks(Bytes txt, uint8_t* out) {
  const size_t n = txt.size();
  if (std::endian::native != std::endian::little || n < kWordBytes || n > kShortText) {
    return kernels::Kernels().text->raise_after_blanks(txt, out);
  }
  // The byte before the text counts as a blank, so that its first byte is
  // raised.
  const uint64_t head = LoadWord(txt.data());
  const uint64_t tail = LoadWord(txt.data() + n - kWordBytes);
  const uint64_t before_tail =
      n == kWordBytes ? (head << 8) | ' ' : LoadWord(txt.data() + n - kWordBytes - 1);
  const uint64_t raised_head = RaiseWord(head, (head << 8) | ' ');
  const uint64_t raised_tail = RaiseWord(tail, before_tail);
  std::memcpy(out, &raised_head, kWordBytes);
  std::memcpy(out + n - kWordBytes, &raised_tail, kWordBytes);
}

}  // namespace

// Nothing is lowered: only a byte at the start or after a blank changes.
BSTR ProperName(Bytes txt) {
  if (txt.empty()) return EmptyResult();
  return BuildWholeResult(txt.size(), [&](MutableBytes out) { RaiseAfterBlanks(txt, out.data()); });
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
  if (!exceptions.empty() && !MarkExceptions(work, n, exceptions, options.prefixes)) {
    return EmptyResult();
  }
  Capitalise(work, n, options.capital_after_punct);
  RestoreMarks(work, txt, options.keep_exception_case);
  return ResultFromBytes(work + 1, static_cast<int64_t>(n));
}

}  // namespace twinekit::names
