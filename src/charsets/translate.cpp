#include "charsets/charsets.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "frame/byte_scan.h"
#include "frame/byte_table.h"
#include "frame/table_map.h"
#include "frame/word_bits.h"

namespace twinekit::charsets {
namespace {

using words::LoadWord;
using words::StoreWord;

// Where each byte value ends after every pair has had its turn.
//
// Running a byte through the pairs in order applies p[0], then p[1], up to
// p[m-1], where p[k] sends old[k] to new[k] and leaves every other value
// alone.  Built from the last pair back, each pair changes one entry: a
// value that p[k] sends to new[k] ends wherever new[k] ends under the
// later pairs.  So the table costs one step per pair, not a pass over all
// 256 values per pair.
class Translation {
 public:
  Translation(Bytes old_chars, Bytes new_chars)
      // Bytes of the longer list beyond the shorter one have no partner.
      : to_(kIdentity), moved_(old_chars.first(std::min(old_chars.size(), new_chars.size()))) {
    for (size_t k = moved_.size(); k-- > 0;) to_[moved_[k]] = to_[new_chars[k]];
  }

  // Only the old bytes can change, and often few of them do.  A short
  // text goes through the table here, without the kernels' calls.
  void Apply(MutableBytes txt) const {
    if (txt.size() >= kShortText) return MapThroughChanges(txt, txt.data(), to_, moved_);
    if constexpr (std::endian::native == std::endian::little) {
      if (txt.size() >= 8) return ApplyByWords(txt);
    }
    for (uint8_t& b : txt) b = to_[b];
  }

 private:
  static constexpr size_t kShortText = 32;

  // Each byte of word through the table, the eight spelt out so that no
  // loop is left to run.
  uint64_t MapWord(uint64_t word) const {
    const auto byte = [&](int k) {
      return uint64_t{to_[static_cast<uint8_t>(word >> (8 * k))]} << (8 * k);
    };
    return byte(0) | byte(1) | byte(2) | byte(3) | byte(4) | byte(5) | byte(6) | byte(7);
  }

  // 8 to 31 bytes a word at a time, each word written back whole; the
  // last word, which may overlap the one before it, is read before any is
  // written.
  void ApplyByWords(MutableBytes txt) const {
    uint8_t* const p = txt.data();
    const size_t last = txt.size() - 8;
    const uint64_t last_word = MapWord(LoadWord(p + last));
    for (size_t at = 0; at < last; at += 8) StoreWord(p + at, MapWord(LoadWord(p + at)));
    StoreWord(p + last, last_word);
  }

  // Every value to itself; copied whole, it costs a short call far less
  // than a loop over the 256 values would.
  static constexpr ByteTable kIdentity = MakeByteTable([](uint8_t v) { return v; });

  ByteTable to_;
  Bytes moved_;
};

}  // namespace

bool ChangeChars(MutableBytes txt, Bytes old_chars, Bytes new_chars) {
  if (txt.empty() || old_chars.empty() || new_chars.empty()) return false;
  Translation(old_chars, new_chars).Apply(txt);
  return true;
}

bool ChangeCharsUntil(MutableBytes txt, Bytes old_chars, Bytes new_chars, Bytes stop) {
  if (txt.empty() || old_chars.empty() || new_chars.empty() || stop.empty()) return false;
  const Translation translation(old_chars, new_chars);
  // The stop byte is looked for in the text as it was, before any byte is
  // translated; the bytes before it are translated.
  translation.Apply(txt.first(scan::Find(txt, 0, stop[0])));
  return true;
}

}  // namespace twinekit::charsets
