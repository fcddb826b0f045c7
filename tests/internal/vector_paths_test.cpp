// The blockwise byte scans and hexadecimal conversions against their
// bytewise forms: every byte value at every place of a 64-byte text at
// every alignment, random texts, sets and starting places, and every pair
// of bytes read as digits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "frame/byte_scan.h"
#include "frame/hex_blocks.h"

namespace {

using twinekit::Bytes;
namespace scan = twinekit::scan;

// The blockwise forms of Keep that this CPU runs.
template <typename Match>
std::vector<size_t (*)(Bytes, const Match&, bool, twinekit::MutableBytes)> KeepForms() {
  std::vector<size_t (*)(Bytes, const Match&, bool, twinekit::MutableBytes)> forms = {
      &scan::blockwise::KeepSse2<Match>};
#ifdef TK_HAVE_SSSE3_KEEP
  if (twinekit::CpuHasSsse3()) forms.push_back(&scan::blockwise::KeepSsse3<Match>);
#endif
  return forms;
}

// Every scan of s by match, blockwise and bytewise, from and up to every
// place that matters for s's blocks and windows.
template <typename Match>
void ExpectSameScans(Bytes s, const Match& match) {
  namespace fast = scan::blockwise;
  namespace plain = scan::bytewise;
  const size_t total = plain::Count(s, match);
  ASSERT_EQ(fast::Count(s, match), total);
  for (size_t n : {size_t{0}, size_t{1}, size_t{2}, size_t{3}, total / 2, total, total + 1}) {
    for (size_t at : {size_t{0}, size_t{1}, s.size() / 2, s.size()}) {
      ASSERT_EQ(fast::FindNth(s, at, match, n), plain::FindNth(s, at, match, n)) << at << " " << n;
      ASSERT_EQ(fast::FindNthLast(s, at, match, n), plain::FindNthLast(s, at, match, n))
          << at << " " << n;
    }
  }
  ASSERT_EQ(scan::Find(s, 1, match), plain::FindNth(s, 1, match, 1));
  for (const bool keep : {false, true}) {
    std::vector<uint8_t> plain_out(s.size());
    plain_out.resize(plain::Keep(s, match, keep, plain_out.data()));
    for (const auto form : KeepForms<Match>()) {
      // Room for the text, and room for the kept bytes only.
      for (const size_t room : {s.size(), plain_out.size()}) {
        std::vector<uint8_t> fast_out(room);
        fast_out.resize(form(s, match, keep, fast_out));
        ASSERT_EQ(fast_out, plain_out);
      }
    }
  }
}

TEST(VectorPaths, EveryByteAtEveryPlaceAndAlignment) {
  std::vector<uint8_t> buffer(16 + 64);
  for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<uint8_t>(i * 37 + 11);
  const uint8_t set[] = {'0', '1', '2', '3', ' ', 0x00, 0xFF, 0x80};
  const scan::ByteMatcher matcher{Bytes(set)};
  for (size_t align = 0; align < 16; ++align) {
    for (size_t place = 0; place < 64; ++place) {
      for (int v = 0; v < 256; ++v) {
        std::vector<uint8_t> text(buffer.begin() + static_cast<std::ptrdiff_t>(align),
                                  buffer.begin() + static_cast<std::ptrdiff_t>(align + 64));
        text[place] = static_cast<uint8_t>(v);
        const Bytes s(text);
        const auto value = static_cast<uint8_t>(v);
        ASSERT_EQ(scan::blockwise::Count(s, scan::OneByte(value)),
                  scan::bytewise::Count(s, scan::OneByte(value)));
        ASSERT_EQ(scan::FindNth(s, 0, scan::OneByte(value), 1),
                  scan::bytewise::FindNth(s, 0, scan::OneByte(value), 1));
        ASSERT_EQ(scan::FindNthLast(s, 64, scan::OneByte(value), 1),
                  scan::bytewise::FindNthLast(s, 64, scan::OneByte(value), 1));
        std::vector<uint8_t> plain_out(64);
        plain_out.resize(scan::bytewise::Keep(s, matcher, true, plain_out.data()));
        for (const auto form : KeepForms<scan::ByteMatcher>()) {
          std::vector<uint8_t> fast_out(plain_out.size());
          fast_out.resize(form(s, matcher, true, fast_out));
          ASSERT_EQ(fast_out, plain_out);
        }
        ASSERT_EQ(scan::Count(s, matcher), scan::bytewise::Count(s, matcher));
      }
    }
  }
}

TEST(VectorPaths, RandomTextsAndSets) {
  std::mt19937 gen(7);
  for (int round = 0; round < 3000; ++round) {
    const int alphabet = round % 3 == 0 ? 256 : 6;
    // Every tenth text is long enough for whole chunks of windows.
    std::vector<uint8_t> text(gen() % (round % 10 == 0 ? 13000 : 300));
    for (uint8_t& b : text) b = static_cast<uint8_t>(gen() % static_cast<uint32_t>(alphabet));
    std::vector<uint8_t> members(gen() % 40);
    for (uint8_t& b : members) b = static_cast<uint8_t>(gen() % 256);
    if (round % 2 == 0 && !text.empty()) members.push_back(text[gen() % text.size()]);
    ExpectSameScans(Bytes(text), scan::OneByte(static_cast<uint8_t>(gen() % 8)));
    scan::ByteMatcher matcher{Bytes(members)};
    ExpectSameScans(Bytes(text), matcher);
    for (size_t k = 0; k < members.size() / 2; ++k) matcher.Remove(members[k]);
    ExpectSameScans(Bytes(text), matcher);
  }
}

// Every pair of byte values, from every alignment, by both digit rules;
// every byte value written as digits.  Lengths cut at each alignment leave
// tails of every size for the bytewise finish.
TEST(VectorPaths, EveryHexPairAndByte) {
  namespace hex = twinekit::hex;
  std::vector<uint8_t> pairs(16 + 2 * 65536);
  for (size_t v = 0; v < 65536; ++v) {
    pairs[16 + 2 * v] = static_cast<uint8_t>(v >> 8);
    pairs[16 + 2 * v + 1] = static_cast<uint8_t>(v);
  }
  for (size_t align = 0; align < 16; ++align) {
    const Bytes in = Bytes(pairs).subspan(align + 16 - (align % 2), 2 * 65536 - 16 - align);
    std::vector<uint8_t> fast(in.size() / 2), plain(in.size() / 2);
    hex::blockwise::ReadSignedPairs(in, fast.data());
    hex::bytewise::ReadSignedPairs(in, plain.data());
    ASSERT_EQ(fast, plain) << align;
    hex::blockwise::ReadPackedPairs(in, fast.data());
    hex::bytewise::ReadPackedPairs(in, plain.data());
    ASSERT_EQ(fast, plain) << align;
    const Bytes bytes = in.first(256 + 3 * align);
    std::vector<uint8_t> fast_digits(2 * bytes.size()), plain_digits(2 * bytes.size());
    hex::blockwise::WriteDigits(bytes, fast_digits.data());
    hex::bytewise::WriteDigits(bytes, plain_digits.data());
    ASSERT_EQ(fast_digits, plain_digits) << align;
  }
}

}  // namespace
