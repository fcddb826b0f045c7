#include "charsets/charsets.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "frame/byte_scan.h"
#include "frame/table_map.h"

namespace twinekit::charsets {
namespace {

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
    if (txt.size() < kShortText) {
      for (uint8_t& b : txt) b = to_[b];
      return;
    }
    MapThroughChanges(txt, txt.data(), to_, moved_);
  }

 private:
  static constexpr size_t kShortText = 32;

  // Every value to itself; copied whole, it costs a short call far less
  // than a loop over the 256 values would.
  static constexpr std::array<uint8_t, 256> kIdentity = [] {
    std::array<uint8_t, 256> identity{};
    for (size_t v = 0; v < identity.size(); ++v) identity[v] = static_cast<uint8_t>(v);
    return identity;
  }();

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
