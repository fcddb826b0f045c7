// A differential fuzzer of the kernel layer: arbitrary texts, classes and
// places go to each kernel of every form the CPU runs and to the plain
// form, and any difference aborts.  Each text and each output sits in a
// buffer of exactly its length, so that the address sanitizer sees any
// read or write past its end.
//
// Input: one byte of flags, one byte k, k class members (also the values
// of the maps), two bytes of a starting place, one byte of a count n, then
// the text (see the flags below).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "encodings/ebcdic_tables.h"
#include "frame/kernels/kernel_table.h"

namespace {

using twinekit::ByteClass;
using twinekit::Bytes;
namespace kernels = twinekit::kernels;

void Check(bool same, const char* what) {
  if (same) return;
  std::fprintf(stderr, "kernel differs from the plain form on %s: %s\n",
               kernels::FormName(kernels::Kernels().form), what);
  std::abort();
}

std::unique_ptr<uint8_t[]> Room(size_t n) { return std::make_unique<uint8_t[]>(std::max<size_t>(n, 1)); }

void CompareScans(const kernels::ScanKernels& scan, Bytes s, const ByteClass& c, size_t at, size_t n) {
  const kernels::ScanKernels& plain = kernels::kPlainScans;
  Check(scan.count(s, c) == plain.count(s, c), "count");
  Check(scan.find_nth(s, at, c, n) == plain.find_nth(s, at, c, n), "find_nth");
  Check(scan.find_nth_last(s, at, c, n) == plain.find_nth_last(s, at, c, n), "find_nth_last");
  for (const bool keep : {false, true}) {
    const auto want = Room(s.size());
    const size_t kept = plain.keep(s, c, keep, twinekit::MutableBytes(want.get(), s.size()));
    // Exactly the room of the kept bytes, as a result string has.
    const auto got = Room(kept);
    Check(scan.keep(s, c, keep, twinekit::MutableBytes(got.get(), kept)) == kept, "keep count");
    Check(std::equal(want.get(), want.get() + kept, got.get()), "keep bytes");
  }
}

void CompareHex(const kernels::HexKernels& hex, Bytes s) {
  const kernels::HexKernels& plain = kernels::kPlainHex;
  const auto got = Room(2 * s.size());
  const auto want = Room(2 * s.size());
  hex.write_digits(s, got.get());
  plain.write_digits(s, want.get());
  Check(std::equal(want.get(), want.get() + 2 * s.size(), got.get()), "write_digits");
  const auto got_pairs = Room(s.size() / 2);
  hex.read_signed_pairs(s, got_pairs.get());
  plain.read_signed_pairs(s, want.get());
  Check(std::equal(want.get(), want.get() + s.size() / 2, got_pairs.get()), "read_signed_pairs");
  hex.read_packed_pairs(s, got_pairs.get());
  plain.read_packed_pairs(s, want.get());
  Check(std::equal(want.get(), want.get() + s.size() / 2, got_pairs.get()), "read_packed_pairs");
}

void CompareText(const kernels::TextKernels& text, Bytes s, size_t at, uint8_t a, uint8_t b) {
  const kernels::TextKernels& plain = kernels::kPlainText;
  const auto got = Room(s.size());
  const auto want = Room(s.size());
  text.reverse(s, got.get());
  plain.reverse(s, want.get());
  Check(std::equal(want.get(), want.get() + s.size(), got.get()), "reverse");
  text.raise_after_blanks(s, got.get());
  plain.raise_after_blanks(s, want.get());
  Check(std::equal(want.get(), want.get() + s.size(), got.get()), "raise_after_blanks");
  if (s.empty()) return;
  for (const bool after_punct : {false, true}) {
    std::copy(s.begin(), s.end(), got.get());
    std::copy(s.begin(), s.end(), want.get());
    text.capitalise(got.get(), s.size() - 1, after_punct);
    plain.capitalise(want.get(), s.size() - 1, after_punct);
    Check(std::equal(want.get(), want.get() + s.size(), got.get()), "capitalise");
  }
  const size_t first_at = at % s.size();
  const size_t second_at = (at >> 3) % s.size();
  const size_t last = s.size() - 1 - std::max(first_at, second_at);
  const size_t from = (at >> 6) % (last + 2);
  Check(text.find_pair(s.data(), from, last, first_at, a, second_at, b) ==
            plain.find_pair(s.data(), from, last, first_at, a, second_at, b),
        "find_pair");
}

// s through table and through the map of few values that sends the
// distinct values among members (up to the most the kernel takes) each to
// the next member, into a buffer of exactly s's length and in place.
void CompareMaps(const kernels::MapKernels& map, Bytes s, const twinekit::ByteTable& table,
                 Bytes members) {
  const kernels::MapKernels& plain = kernels::kPlainMaps;
  const auto want = Room(s.size());
  const auto got = Room(s.size());
  plain.table(s, want.get(), table);
  map.table(s, got.get(), table);
  Check(std::equal(want.get(), want.get() + s.size(), got.get()), "table");
  std::copy(s.begin(), s.end(), got.get());
  map.table(Bytes(got.get(), s.size()), got.get(), table);
  Check(std::equal(want.get(), want.get() + s.size(), got.get()), "table in place");

  std::vector<uint8_t> from, to;
  for (size_t i = 0; i < members.size() && from.size() < kernels::kMaxFewChanges; ++i) {
    if (std::find(from.begin(), from.end(), members[i]) != from.end()) continue;
    from.push_back(members[i]);
    to.push_back(members[(i + 1) % members.size()]);
  }
  plain.few(s, want.get(), Bytes(from), to.data());
  map.few(s, got.get(), Bytes(from), to.data());
  Check(std::equal(want.get(), want.get() + s.size(), got.get()), "few");
  std::copy(s.begin(), s.end(), got.get());
  map.few(Bytes(got.get(), s.size()), got.get(), Bytes(from), to.data());
  Check(std::equal(want.get(), want.get() + s.size(), got.get()), "few in place");
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
  const auto text = Room(length);
  for (size_t i = 0; i < length; i += given) std::copy(data + rest, data + size, text.get() + i);
  const Bytes s(text.get(), length);
  const size_t place = (flags & 1) != 0 ? length - std::min(at, length) : at;
  // A table of the EBCDIC conversions or one that mixes the members into
  // every value.
  twinekit::ByteTable map_table = (flags & 8) != 0 ? twinekit::encodings::kAsciiToEbcdic
                                               : twinekit::encodings::kEbcdicToAscii;
  if ((flags & 16) != 0) {
    for (size_t v = 0; v < map_table.size(); ++v) {
      map_table[v] = static_cast<uint8_t>(k > 0 ? members[v % k] + v * (at | 1) : v * 7);
    }
  }

  for (const kernels::Form form : kernels::kForms) {
    if (!kernels::UseForm(form)) continue;
    const kernels::KernelTable& table = kernels::Kernels();
    CompareScans(*table.scan, s, ByteClass(k > 0 ? members[0] : flags), place, n);
    ByteClass c(members);
    CompareScans(*table.scan, s, c, place, n);
    for (size_t i = 0; i < k; i += 2 + (flags >> 5)) c.Remove(members[i]);
    CompareScans(*table.scan, s, c, place, n);
    CompareHex(*table.hex, s);
    CompareText(*table.text, s, at, k > 0 ? members[0] : ' ', k > 1 ? members[1] : 'a');
    CompareMaps(*table.map, s, map_table, members);
  }
  return 0;
}
