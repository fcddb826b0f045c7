// A differential fuzzer of the library's vector paths: arbitrary texts,
// sets and places go to each blockwise byte scan and hexadecimal
// conversion and to its bytewise form, and any difference aborts.  The text sits in a buffer of exactly its
// length, so that the address sanitizer sees any read past its end.
//
// Input: one byte of flags, one byte k, k set members, two bytes of a
// starting place, one byte of a count n, then the text (see the flags
// below).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "frame/byte_scan.h"
#include "frame/hex_blocks.h"

namespace {

using twinekit::Bytes;
namespace scan = twinekit::scan;

void Check(bool same, const char* what) {
  if (same) return;
  std::fprintf(stderr, "vector path differs: %s\n", what);
  std::abort();
}

template <typename Match>
void CompareScans(Bytes s, const Match& match, size_t at, size_t n) {
  Check(scan::blockwise::Count(s, match) == scan::bytewise::Count(s, match), "Count");
  Check(scan::blockwise::FindNth(s, at, match, n) == scan::bytewise::FindNth(s, at, match, n),
        "FindNth");
  Check(scan::blockwise::FindNthLast(s, at, match, n) ==
            scan::bytewise::FindNthLast(s, at, match, n),
        "FindNthLast");
  Check(scan::Find(s, at, match) == scan::bytewise::FindNth(s, at, match, 1), "Find");
  for (const bool keep : {false, true}) {
    const auto plain = std::make_unique<uint8_t[]>(s.size() + 1);
    const size_t kept = scan::bytewise::Keep(s, match, keep, plain.get());
    // Exactly the room of the kept bytes, as a result string has, so that
    // a store past it shows.
    const auto fast = std::make_unique<uint8_t[]>(kept);
    const twinekit::MutableBytes room(fast.get(), kept);
    const auto same_keep = [&](size_t got) {
      Check(got == kept, "Keep count");
      Check(std::equal(plain.get(), plain.get() + kept, fast.get()), "Keep bytes");
    };
    same_keep(scan::blockwise::KeepSse2(s, match, keep, room));
#ifdef TK_HAVE_SSSE3_KEEP
    if (twinekit::CpuHasSsse3()) same_keep(scan::blockwise::KeepSsse3(s, match, keep, room));
#endif
  }
}

// Digits written from every byte and read back from every pair, by both
// rules.
void CompareHex(Bytes s) {
  namespace hex = twinekit::hex;
  const auto fast = std::make_unique<uint8_t[]>(2 * s.size() + 1);
  const auto plain = std::make_unique<uint8_t[]>(2 * s.size() + 1);
  hex::blockwise::WriteDigits(s, fast.get());
  hex::bytewise::WriteDigits(s, plain.get());
  Check(std::equal(plain.get(), plain.get() + 2 * s.size(), fast.get()), "WriteDigits");
  hex::blockwise::ReadSignedPairs(s, fast.get());
  hex::bytewise::ReadSignedPairs(s, plain.get());
  Check(std::equal(plain.get(), plain.get() + s.size() / 2, fast.get()), "ReadSignedPairs");
  hex::blockwise::ReadPackedPairs(s, fast.get());
  hex::bytewise::ReadPackedPairs(s, plain.get());
  Check(std::equal(plain.get(), plain.get() + s.size() / 2, fast.get()), "ReadPackedPairs");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint8_t flags = data[0];
  const size_t k = std::min<size_t>(data[1], size - 2);
  const Bytes members(data + 2, k);
  size_t rest = 2 + k;
  size_t at = 0;
  size_t n = 1;
  if (size - rest >= 3) {
    at = data[rest] | size_t{data[rest + 1]} << 8;
    // Counts up to 255 reach past whole chunks of a long text.
    n = (flags & 4) != 0 ? data[rest + 2] : data[rest + 2] % 8;
    rest += 3;
  }
  // A copy of exactly the text's length; with flag 2 the text is repeated
  // to three chunks of windows and more, the lengths the bulk counts take.
  const size_t given = size - rest;
  const size_t length = (flags & 2) != 0 && given > 0 ? given * (12100 / given + 1) : given;
  const auto text = std::make_unique<uint8_t[]>(length);
  for (size_t i = 0; i < length; i += given) std::copy(data + rest, data + size, text.get() + i);
  const Bytes s(text.get(), length);
  if (flags & 1) at = length - std::min(at, length);

  CompareScans(s, scan::OneByte(k > 0 ? members[0] : flags), at, n);
  scan::ByteMatcher matcher(members);
  CompareScans(s, matcher, at, n);
  for (size_t i = 0; i < k; i += 2 + (flags >> 5)) matcher.Remove(members[i]);
  CompareScans(s, matcher, at, n);
  CompareHex(s);
  return 0;
}
