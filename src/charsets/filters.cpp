#include "charsets/charsets.h"

#include <algorithm>
#include <array>

#include "frame/byte_scan.h"
#include "frame/result.h"
#include "frame/short_copy.h"
#include "frame/word_bits.h"
#include "frame/word_keep.h"

namespace twinekit::charsets {
namespace {

// Texts shorter than this are checked byte by byte.
constexpr size_t kShortText = 64;
// Texts shorter than this are filtered byte by byte: making the class and
// calling the kernel would cost more.
constexpr size_t kShortFilterText = 32;
// Sets up to this size are matched against texts of 8 to 16 bytes a word
// at a time, each value of the set compared with the whole word.
constexpr size_t kWordFilterSet = 16;

// Writes to out the bytes of txt whose membership in chars is
// keep_members; returns how many.  Every byte is written and the count
// moves on only for one kept, so no byte waits on a branch.  Each value
// has a flag of its own, so that no byte's step waits for another's write;
// only the text's values are read, so only they are cleared first.
size_t KeepBytewise(Bytes txt, Bytes chars, bool keep_members, MutableBytes out) {
  std::array<uint8_t, 256> member;
  for (const uint8_t b : txt) member[b] = 0;
  for (const uint8_t b : chars) member[b] = 1;
  const uint8_t kept = keep_members ? 1 : 0;
  size_t written = 0;
  for (const uint8_t b : txt) {
    out[written] = b;
    written += member[b] == kept;
  }
  return written;
}

// The high bit of each byte of the two words that is one of chars, or,
// flipped by kHighs, that is not: a byte is none of them when it differs
// from each.
WordMarks MembersIn(uint64_t low, uint64_t high, Bytes chars, uint64_t flip) {
  using namespace words;
  uint64_t low_none = kHighs;
  uint64_t high_none = kHighs;
  for (const uint8_t b : chars) {
    low_none &= OtherHighs(low, b);
    high_none &= OtherHighs(high, b);
  }
  return {low_none ^ kHighs ^ flip, high_none ^ kHighs ^ flip};
}

// Sets of 8 to 16 values listed as one ascending run below 0x80, each one
// more than the one before ('0' to '9', 'a' to 'p'), are tested as a
// range: two additions a word rather than a comparison for each value.
constexpr size_t kMinRunSet = 8;
constexpr uint64_t kAscending = 0x0706050403020100u;

// Whether chars (8 to kWordFilterSet values) is such a run: its first
// eight and its last eight bytes each count up from their first.
bool IsAsciiRun(Bytes chars) {
  using namespace words;
  const uint64_t first = chars[0];
  const uint64_t last_start = first + chars.size() - 8;
  if (first + chars.size() > 0x80) return false;
  const HeadTail ends = LoadHeadTail(chars.data(), chars.size());
  return ends.head == kOnes * first + kAscending && ends.tail == kOnes * last_start + kAscending;
}

// The high bit of each byte of the two words in [lo, hi] (hi < 0x80), or,
// flipped by kHighs, not in it.
WordMarks RangeIn(uint64_t low, uint64_t high, uint8_t lo, uint8_t hi, uint64_t flip) {
  using words::RangeHighs;
  return {RangeHighs(low, lo, hi) ^ flip, RangeHighs(high, lo, hi) ^ flip};
}

// The bytes of txt whose membership in chars is `keep_members`.
BSTR KeepByMembership(Bytes txt, Bytes chars, bool keep_members) {
  if (txt.empty()) return EmptyResult();
  if (chars.empty()) return CopyOfText(txt);
  if constexpr (kWordKeep) {
    if (txt.size() >= kWordKeepMin && txt.size() <= kWordKeepMax &&
        chars.size() <= kWordFilterSet) {
      const uint64_t flip = keep_members ? 0 : words::kHighs;
      if (chars.size() >= kMinRunSet && IsAsciiRun(chars)) {
        const uint8_t lo = chars.front();
        const uint8_t hi = chars.back();
        return KeepMarkedBytes(txt, [&](uint64_t low, uint64_t high) {
          return RangeIn(low, high, lo, hi, flip);
        });
      }
      return KeepMarkedBytes(txt, [&](uint64_t low, uint64_t high) {
        return MembersIn(low, high, chars, flip);
      });
    }
  }
  if (txt.size() < kShortFilterText) {
    return BuildResult(txt.size(), [&](MutableBytes out) {
      return KeepBytewise(txt, chars, keep_members, out);
    });
  }
  const ByteClass set(chars);
  return BuildResult(txt.size(), [&](MutableBytes out) {
    return scan::Keep(txt, set, keep_members, out);
  });
}

// True when every value of chars shows in txt, read one byte at a time.
// Each value has a flag of its own, so that no byte's step waits for
// another's (bits shared in a word would each wait for the word's last
// write).  Only the flags of chars are ever read, so only they are
// cleared first.
bool ShowsAllBytewise(Bytes txt, Bytes chars) {
  std::array<uint8_t, 256> seen;
  for (const uint8_t b : chars) seen[b] = 0;
  for (const uint8_t b : txt) seen[b] = 1;
  uint8_t all = 1;
  for (const uint8_t b : chars) all &= seen[b];
  return all != 0;
}

// Whether txt begins with prefix (no longer than txt): a short prefix byte
// by byte, without the library's call.
bool StartsWith(Bytes txt, Bytes prefix) {
  if (prefix.size() > 16) return std::equal(prefix.begin(), prefix.end(), txt.begin());
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (txt[i] != prefix[i]) return false;
  }
  return true;
}

}  // namespace

bool CheckChars(Bytes txt, Bytes chars) {
  if (txt.empty() || chars.empty() || chars.size() > kMaxCheckSet) return false;
  // Each distinct value of the set is crossed off the first time the text
  // shows it (a value listed twice is one value to find).  A short text is
  // read byte by byte: setting up the vector scan would cost more.
  if (txt.size() < kShortText) return ShowsAllBytewise(txt, chars);
  // Otherwise the scan goes on from each value found for the values still
  // missing.
  ByteClass missing(chars);
  for (size_t at = scan::Find(txt, 0, missing); at < txt.size();
       at = scan::Find(txt, at + 1, missing)) {
    missing.Remove(txt[at]);
    if (missing.empty()) return true;
  }
  return false;
}

BSTR FilterChars(Bytes txt, Bytes chars) { return KeepByMembership(txt, chars, false); }

BSTR FilterNotChars(Bytes txt, Bytes chars) { return KeepByMembership(txt, chars, true); }

// The working area is taken like the other filters' (rather than the
// result made straight from txt), so that it too answers a working area
// it cannot have with the empty result.
BSTR FilterFirstChars(Bytes txt, Bytes prefix) {
  if (txt.empty()) return EmptyResult();
  if (prefix.empty()) return CopyOfText(txt);
  const bool starts_with = prefix.size() <= txt.size() && StartsWith(txt, prefix);
  const Bytes rest = starts_with ? txt.subspan(prefix.size()) : txt;
  return BuildResultInPlace(txt.size(), rest.size(), [&](MutableBytes out) {
    CopyRun(out.data(), rest.data(), rest.size());
  });
}

}  // namespace twinekit::charsets
